#include "shredder/recyclebin/recycle_bin_rules.h"

#include "common/cp932.h"
#include "common/paths.h"

namespace recyclebin {

std::string SidText(const std::vector<std::uint32_t>& subAuthorities) {
  std::string text = "S-1-5";
  for (std::uint32_t value : subAuthorities) text.append("-").append(std::to_string(value));
  return text;
}

std::string AccountName(std::string_view userName, std::string_view computerName) {
  std::string account;
  if (cp932::EqualsNoCase(userName, computerName)) account.append(computerName).append("\\\\");
  account.append(userName);
  return account;
}

std::optional<std::string> RecycleBinFolder(std::string_view root, std::string_view fileSystem,
                                            std::string_view sidText,
                                            const std::function<bool(const std::string&)>& folderExists) {
  std::string classic(root);
  if (fileSystem == "FAT32") {
    classic.append("Recycled");
  } else if (fileSystem == "NTFS") {
    // Without a SID the folder names a component no search can open ("|" is
    // not allowed in names), so the walk reports that it cannot search.
    classic.append("Recycler\\").append(sidText.empty() ? std::string_view("|") : sidText);
  } else {
    return std::nullopt;
  }
  if (!sidText.empty() && !folderExists(classic)) {
    std::string current(root);
    current.append("$Recycle.Bin\\").append(sidText);
    if (folderExists(current)) return current;
  }
  return classic;
}

bool IsSkippedFileName(std::string_view name) { return name == "desktop.ini" || name == "INFO2"; }

bool SubfolderFits(std::size_t parentLength, std::size_t nameLength) {
  return parentLength + nameLength + 3 <= paths::kMaxPath;
}

}  // namespace recyclebin
