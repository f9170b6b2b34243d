#include "shredder/recyclebin/recycle_bin_rules.h"

#include "common/paths.h"
#include "common/text_format.h"
#include "shredder/recyclebin/recyclebin_texts.h"

namespace recyclebin {

std::vector<std::wstring> RecycleBinFolders(std::wstring_view root, std::wstring_view sidText) {
  std::wstring current(root), classic(root), fat(root);
  current.append(L"$Recycle.Bin\\").append(sidText);
  classic.append(L"Recycler\\").append(sidText);
  fat.append(L"Recycled");
  return {current, classic, fat};
}

std::wstring NotWipedMessage(int unwiped, int held, int noSpace, int nameStayed) {
  std::wstring message;
  if (unwiped > 0) message = text::FormatCount(texts::kNotWipedFormat, unwiped);
  if (nameStayed > 0) {
    if (!message.empty()) message.append(L"\n");
    message.append(text::FormatCount(texts::kNameStayedFormat, nameStayed));
  }
  if (held > 0 || nameStayed > 0) message.append(L"\n").append(texts::kAdviceHeld);
  if (noSpace > 0) message.append(L"\n").append(texts::kAdviceNoSpace);
  if (unwiped > held + noSpace) message.append(L"\n").append(texts::kAdviceNotWritten);
  return message;
}

bool IsSkippedFileName(std::wstring_view name) {
  return name == L"desktop.ini" || name == L"INFO2";
}

bool SubfolderFits(std::size_t parentLength, std::size_t nameLength) {
  return parentLength + nameLength + 3 <= paths::kMaxPath;
}

}  // namespace recyclebin
