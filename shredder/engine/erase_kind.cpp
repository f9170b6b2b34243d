#include "shredder/engine/erase_kind.h"

#include "shredder/engine/engine_texts.h"

namespace engine {

EraseKind KindOfRecord(std::uint32_t record) {
  switch (static_cast<EraseKind>(record)) {
    case EraseKind::RecycleBin:
    case EraseKind::Files:
    case EraseKind::FreeSpace:
      return static_cast<EraseKind>(record);
    case EraseKind::Unknown:
      break;
  }
  return EraseKind::Unknown;
}

std::wstring WaitingText(EraseKind writing) {
  const wchar_t* kind = nullptr;
  switch (writing) {
    case EraseKind::RecycleBin:
      kind = texts::kKindRecycleBin;
      break;
    case EraseKind::Files:
      kind = texts::kKindFiles;
      break;
    case EraseKind::FreeSpace:
      kind = texts::kKindFreeSpace;
      break;
    case EraseKind::Unknown:
      break;
  }
  std::wstring text = kind ? texts::kWaitingForKindBefore + std::wstring(kind) + texts::kWaitingForKindAfter
                           : std::wstring(texts::kWaitingForAnother);
  return text + L"\n" + texts::kWaitingThen;
}

}  // namespace engine
