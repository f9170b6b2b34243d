#include "shredder/engine/volume_place.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using engine::PlaceOf;
using engine::VolumeLayout;

constexpr std::uint32_t kJunctionTag = engine::kMountPointTag;
constexpr std::uint32_t kSymlinkTag = 0xA000000C;
constexpr std::uint32_t kCloudTag = 0x9000001A;  // a placeholder folder: not a name surrogate

// A system of drives C: (serial 0xC), E: (0xE, also mounted at C:\mnt\e),
// a volume mounted only at C:\mnt\v (0x5), a subst drive S: for C:\data and
// T: for S:\deeper, and what the folders on the way are.
class FakeLayout : public VolumeLayout {
 public:
  std::map<wchar_t, std::wstring> substitutes{{L'S', L"C:\\data"}, {L'T', L"S:\\deeper"}, {L'L', L"L:\\"}};
  std::map<std::wstring, std::uint32_t> serials{
      {L"\\\\?\\C:\\", 0xC}, {L"\\\\?\\E:\\", 0xE}, {L"\\\\?\\Volume{e}\\", 0xE}, {L"\\\\?\\Volume{v}\\", 0x5}};
  std::map<std::wstring, Step> steps{
      {L"\\\\?\\C:\\mnt", {true, false, 0, {}}},
      {L"\\\\?\\C:\\mnt\\e", {true, true, kJunctionTag, L"\\??\\Volume{e}\\"}},
      {L"\\\\?\\C:\\mnt\\v", {true, true, kJunctionTag, L"\\??\\Volume{v}\\"}},
      {L"\\\\?\\C:\\mnt\\v\\d", {true, false, 0, {}}},
      {L"\\\\?\\C:\\data", {true, false, 0, {}}},
      {L"\\\\?\\C:\\data\\deeper", {true, false, 0, {}}},
      {L"\\\\?\\C:\\junction", {true, true, kJunctionTag, L"\\??\\C:\\data"}},
      {L"\\\\?\\C:\\toroot", {true, true, kJunctionTag, L"\\??\\E:\\"}},
      {L"\\\\?\\C:\\symlink", {true, true, kSymlinkTag, {}}},
      {L"\\\\?\\C:\\unread", {true, true, 0, {}}},
      {L"\\\\?\\C:\\cloud", {true, true, kCloudTag, {}}},
      {L"\\\\?\\C:\\junction\\mnt", {true, true, kJunctionTag, L"\\??\\Volume{v}\\"}},
  };

  std::optional<std::wstring> SubstituteOf(wchar_t letter) override {
    const auto found = substitutes.find(letter);
    return found == substitutes.end() ? std::nullopt : std::optional<std::wstring>(found->second);
  }
  std::optional<std::uint32_t> SerialOf(const std::wstring& root) override {
    const auto found = serials.find(root);
    return found == serials.end() ? std::nullopt : std::optional<std::uint32_t>(found->second);
  }
  Step StepAt(const std::wstring& path) override {
    const auto found = steps.find(path);
    return found == steps.end() ? Step{} : found->second;
  }
};

TEST(VolumePlace, EveryWayToAVolumeNamesThePlaceAndEveryLinkNamesNone) {
  const struct {
    const wchar_t* path;
    std::optional<engine::VolumePlace> place;
  } cases[] = {
      {L"\\\\?\\C:\\root.txt", engine::VolumePlace{0xC, L"\\root.txt"}},
      {L"\\\\?\\C:\\", engine::VolumePlace{0xC, L"\\"}},
      {L"\\\\?\\E:\\x.txt", engine::VolumePlace{0xE, L"\\x.txt"}},
      // A folder where a volume is mounted is that volume's root, whether or
      // not it has a letter too.
      {L"\\\\?\\C:\\mnt\\e\\x.txt", engine::VolumePlace{0xE, L"\\x.txt"}},
      {L"\\\\?\\C:\\mnt\\v\\d\\y.txt", engine::VolumePlace{0x5, L"\\d\\y.txt"}},
      {L"\\\\?\\C:\\mnt\\v", engine::VolumePlace{0xC, L"\\mnt\\v"}},  // the mount point itself lies on C:
      // A subst drive is its folder, and so is one of one.
      {L"\\\\?\\S:\\x.txt", engine::VolumePlace{0xC, L"\\data\\x.txt"}},
      {L"\\\\?\\T:\\z.txt", engine::VolumePlace{0xC, L"\\data\\deeper\\z.txt"}},
      {L"\\\\?\\L:\\x.txt", std::nullopt},  // substitutes itself: no end
      // Folders whose content lives elsewhere are still the folders they are.
      {L"\\\\?\\C:\\cloud\\x.txt", engine::VolumePlace{0xC, L"\\cloud\\x.txt"}},
      // Links on the way lead elsewhere, also a junction to a drive's root
      // and a mount reached through one.
      {L"\\\\?\\C:\\junction\\x.txt", std::nullopt},
      {L"\\\\?\\C:\\toroot\\x.txt", std::nullopt},
      {L"\\\\?\\C:\\symlink\\x.txt", std::nullopt},
      {L"\\\\?\\C:\\unread\\x.txt", std::nullopt},
      {L"\\\\?\\C:\\junction\\mnt\\x.txt", std::nullopt},
      {L"\\\\?\\C:\\gone\\x.txt", std::nullopt},
      {L"\\\\?\\Q:\\x.txt", std::nullopt},  // no such volume
      {L"\\\\?\\UNC\\server\\share\\x.txt", std::nullopt},
  };
  FakeLayout layout;
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(std::wstring(c.path)));
    const std::optional<engine::VolumePlace> place = PlaceOf(c.path, layout);
    ASSERT_EQ(place.has_value(), c.place.has_value());
    if (!place) continue;
    EXPECT_EQ(place->serial, c.place->serial);
    EXPECT_EQ(place->below, c.place->below);
  }
}

}  // namespace
