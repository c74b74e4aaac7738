// The pictures compiled into the program, as the PNG, ICO and CUR files that
// resources/generate_pictures.py writes beside this header.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tavrel::resources {

using Bytes = std::span<const std::uint8_t>;

// The program icon: an ICO file with one 48 x 48, 32-bit image (the icon resource too).
Bytes ProgramIcon();
// The 32 x 72 frame border.
Bytes FrameBorder();
// Caption button picture; button 1 close, 2 maximise, 3 minimise; state 1 normal, 2 hover, 3 pressed.
Bytes CaptionPicture(int button, int state);
// The 71 x 28 four-tile push-button strip.
Bytes ButtonStrip();
// The form's 32 x 32 arrow cursor, hot spot (1, 2), as a CUR file.
Bytes ArrowCursor();

// Every embedded picture, by the accessor that hands it out.
enum class PictureId {
  ProgramIcon,
  FrameBorder,
  CaptionCloseNormal,
  CaptionCloseHover,
  CaptionClosePressed,
  CaptionMaximizeNormal,
  CaptionMaximizeHover,
  CaptionMaximizePressed,
  CaptionMinimizeNormal,
  CaptionMinimizeHover,
  CaptionMinimizePressed,
  ButtonStrip,
  ArrowCursor,
};
inline constexpr int PictureCount = static_cast<int>(PictureId::ArrowCursor) + 1;

// TEST ONLY. While it lives, the accessor of `id` hands out `bytes` instead of the embedded
// picture, so that tests can feed the skin pictures that do not decode. Overrides of one picture
// nest: the destructor puts back what was in place before. The program never makes one.
class ScopedPictureOverride {
 public:
  ScopedPictureOverride(PictureId id, std::vector<std::uint8_t> bytes);
  ScopedPictureOverride(const ScopedPictureOverride&) = delete;
  ScopedPictureOverride& operator=(const ScopedPictureOverride&) = delete;
  ~ScopedPictureOverride();

 private:
  PictureId id;
  std::vector<std::uint8_t> bytes;  // what the accessor hands out meanwhile
  std::optional<Bytes> previous;
};

}  // namespace tavrel::resources
