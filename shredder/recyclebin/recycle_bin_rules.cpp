#include "shredder/recyclebin/recycle_bin_rules.h"

#include "common/paths.h"

namespace recyclebin {

std::optional<std::vector<std::wstring>> RecycleBinFolders(std::wstring_view root, std::wstring_view fileSystem,
                                                           std::wstring_view sidText) {
  std::wstring classic(root);
  if (fileSystem == L"FAT32") {
    classic.append(L"Recycled");
  } else if (fileSystem == L"NTFS") {
    classic.append(L"Recycler\\").append(sidText);
  } else {
    return std::nullopt;
  }
  std::wstring current(root);
  current.append(L"$Recycle.Bin\\").append(sidText);
  return std::vector<std::wstring>{classic, current};
}

bool IsSkippedFileName(std::wstring_view name) {
  return name == L"desktop.ini" || name == L"INFO2";
}

bool SubfolderFits(std::size_t parentLength, std::size_t nameLength) {
  return parentLength + nameLength + 3 <= paths::kMaxPath;
}

}  // namespace recyclebin
