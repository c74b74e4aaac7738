#!/usr/bin/env bash
# The tool starts as a 480 x 233 window at (50, 50) titled Tavrel, keeps its two push buttons
# hidden, shows the microblog address in its hyperlink box and ends with exit code 0 on Alt+F4.
source "$(dirname "$0")/lib/common.sh"
start_tool "$1" || finish

eval "$(xdotool getwindowgeometry --shell "$tool_window")"
check "window at (50, 50), 480 x 233 (got $X, $Y, $WIDTH x $HEIGHT)" \
  test "$X,$Y,$WIDTH,$HEIGHT" = "50,50,480,233"

controls=$(probe)
echo "$controls"
check "the window is titled Tavrel and visible" grep -qx 'window 50 50 480 233 1 Tavrel' <<<"$controls"
check "two hidden push buttons where the skinned buttons lie" \
  test "$(grep -cE '^control Button (56|264) 96 160 48 0 ' <<<"$controls")" = 2
check "no push button is visible" test "$(grep -cE '^control Button .* 1 ' <<<"$controls")" = 0
check "the hyperlink box shows the microblog address" \
  grep -qx 'control Static 152 176 184 24 1 http://weibo.com/morvik' <<<"$controls"

sleep 1
screenshot e2e_startup
# The hyperlink box draws its address: dark text pixels on its light ground.
dark=$(convert "$TAVREL_BUILD/e2e_startup.png" -crop 184x24+202+226 -colorspace Gray -threshold 40% \
       -negate -format '%[fx:mean*w*h]' info:)
check "the hyperlink box has text pixels ($dark)" test "${dark%.*}" -gt 20

xdotool windowactivate --sync "$tool_window" 2>/dev/null || xdotool windowfocus --sync "$tool_window"
xdotool key --clearmodifiers alt+F4
wait_tool 10
check "Alt+F4 ends the tool with exit code 0 (got $tool_exit)" test "$tool_exit" = 0
finish
