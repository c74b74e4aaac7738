#!/usr/bin/env bash
# The whole job in a real window: clear a real cache tree in the prefix's roaming folder (once
# freely, once with a file held open by another process), then exit, which re-creates the folder.
# Also: hovering a button changes its pixels, and a press on a free spot drags the window.
source "$(dirname "$0")/lib/common.sh"
roaming="$WINEPREFIX/drive_c/users/$(whoami)/AppData/Roaming"
cache="$roaming/2K Sports/NBA 2K13/Cache"
clear_point=(186 170)  # the middle of the clear button, in screen pixels
exit_point=(394 170)

make_tree() {
  rm -rf "$cache"
  mkdir -p "$cache/shaders/level2/level3" "$cache/textures" "$cache/empty"
  for i in 1 2 3; do head -c $((i * 1500)) /dev/urandom > "$cache/shaders/s$i.bin"; done
  echo deep > "$cache/shaders/level2/level3/deep.dat"
  echo tex > "$cache/textures/t.dds"
  echo top > "$cache/cache.idx"
}

# box_text: the text of the message box titled 温馨提示, in UTF-8; empty when there is none.
box_text() { probe 温馨提示 | iconv -f GBK -t UTF-8 | sed -n 's/^control Static [-0-9 ]* 1 //p' | grep -v '^$'; }
box_count() { xdotool search --onlyvisible --name '温馨提示' 2>/dev/null | wc -l; }
no_box() { test "$(box_count)" = 0; }
a_box() { test "$(box_count)" -ge 1; }

click_at() { xdotool mousemove "$1" "$2" sleep 0.4 click 1; }

make_tree
start_tool "$1" || finish
sleep 1
screenshot e2e_window_idle

# Hover: the clear button fades to its hover tile.
xdotool mousemove 120 30 sleep 0.5 mousemove "${clear_point[@]}" sleep 0.8
screenshot e2e_window_hover
changed=$(compare -metric AE -extract 160x48+106+146 "$TAVREL_BUILD/e2e_window_idle.png" \
          "$TAVREL_BUILD/e2e_window_hover.png" null: 2>&1)
check "hovering the clear button changes its pixels ($changed)" test "${changed%% *}" -gt 100

# Clear: the tree is gone and the success box appears once.
xdotool click 1
eventually 10 a_box
sleep 0.5
check "one box titled 温馨提示" test "$(box_count)" = 1
check "it says 清理成功，感谢支持Morvik！" test "$(box_text)" = "清理成功，感谢支持Morvik！"
check "the cache directory is gone" test ! -e "$cache"
screenshot e2e_clear_box
probe 温馨提示 ok >/dev/null
check "the box is closed" eventually 10 no_box
check "the window stays" test -n "$(xdotool search --onlyvisible --name '^Tavrel$')"
screenshot e2e_after_clear

# A file held without sharing: the box says the clearing is incomplete, the rest is gone.
make_tree
held="C:\\users\\$(whoami)\\AppData\\Roaming\\2K Sports\\NBA 2K13\\Cache\\textures\\t.dds"
"$WINELOADER" "$TAVREL_BUILD/tests/hold_file.exe" "$held" 60 > "$TAVREL_BUILD/hold.out" 2>/dev/null &
holder=$!
for _ in $(seq 50); do grep -q holding "$TAVREL_BUILD/hold.out" 2>/dev/null && break; sleep 0.2; done
click_at "${clear_point[@]}"
eventually 10 a_box
check "the box says 清理未完成" test "$(box_text)" = "清理未完成：部分文件正在使用或无法删除，请关闭游戏后重试。"
check "the held file remains" test -f "$cache/textures/t.dds"
check "everything else is gone" test "$(find "$cache" | wc -l)" = 3
screenshot e2e_incomplete_box
probe 温馨提示 ok >/dev/null
check "the second box is closed" eventually 10 no_box
kill $holder 2>/dev/null
wait $holder 2>/dev/null
sleep 0.5

# Drag from a free spot moves the window.
xdotool mousemove 290 70 sleep 0.3 mousedown 1 sleep 0.3 mousemove 330 110 sleep 0.3 mousemove 390 170 \
  sleep 0.3 mouseup 1 sleep 0.8
eval "$(xdotool getwindowgeometry --shell "$tool_window")"
check "dragging from a free spot moved the window to (150, 150) (got $X, $Y)" test "$X,$Y" = "150,150"
screenshot e2e_dragged

# Exit: the empty cache directory exists again and the tool ends with 0.
rm -rf "$cache"
click_at $((exit_point[0] + 100)) $((exit_point[1] + 100))
wait_tool 10
check "exit ends the tool with exit code 0 (got $tool_exit)" test "$tool_exit" = 0
check "the cache directory exists again, empty" test -d "$cache" -a -z "$(ls -A "$cache" 2>/dev/null)"
finish
