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

std::wstring NotWipedMessage(const LeftInBin& left) {
  std::wstring message;
  const auto line = [&message](const std::wstring& text) {
    if (!message.empty()) message.append(L"\n");
    message.append(text);
  };
  if (left.unwiped > 0) line(text::FormatCount(texts::kNotWipedFormat, left.unwiped));
  if (left.nameStayed > 0) line(text::FormatCount(texts::kNameStayedFormat, left.nameStayed));
  if (left.throughLink > 0) line(text::FormatCount(texts::kThroughLinkFormat, left.throughLink));
  if (left.held > 0 || left.nameStayed > 0) line(texts::kAdviceHeld);
  if (left.noSpace > 0) line(texts::kAdviceNoSpace);
  if (left.unwiped > left.held + left.noSpace) line(texts::kAdviceNotWritten);
  if (left.throughLink > 0) line(texts::kAdviceThroughLink);
  return message;
}

bool IsSkippedFileName(std::wstring_view name) {
  return name == L"desktop.ini" || name == L"INFO2";
}

bool SubfolderFits(std::size_t parentLength, std::size_t nameLength) {
  return parentLength + nameLength + 3 <= paths::kMaxPath;
}

}  // namespace recyclebin
