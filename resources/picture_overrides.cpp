// The test-only replacement of embedded pictures. Written by hand: generate_pictures.py writes the
// accessors that consult this table.
#include "resources/picture_overrides.h"

#include <array>
#include <utility>

namespace tavrel::resources {

namespace {

// One slot per picture; empty while the embedded bytes are in force. Only the GUI thread runs
// the skin and the tests that set overrides, so nothing is locked.
std::array<std::optional<Bytes>, PictureCount>& Overrides() {
  static std::array<std::optional<Bytes>, PictureCount> overrides;
  return overrides;
}

std::optional<Bytes>& SlotOf(PictureId id) { return Overrides()[static_cast<size_t>(id)]; }

}  // namespace

Bytes OverriddenOr(PictureId id, Bytes embedded) { return SlotOf(id).value_or(embedded); }

ScopedPictureOverride::ScopedPictureOverride(PictureId id, std::vector<std::uint8_t> replacement)
    : id(id), bytes(std::move(replacement)), previous(SlotOf(id)) {
  SlotOf(id) = Bytes(bytes);
}

ScopedPictureOverride::~ScopedPictureOverride() { SlotOf(id) = previous; }

}  // namespace tavrel::resources
