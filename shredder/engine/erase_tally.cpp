#include "shredder/engine/erase_tally.h"

#include "common/text_format.h"
#include "shredder/engine/engine_texts.h"

namespace engine {

void CountRemoved(EraseTally& tally, WipeOutcome outcome) {
  if (outcome == WipeOutcome::WipedElsewhere) {
    ++tally.elsewhere;
  } else if (outcome == WipeOutcome::StreamsLeft) {
    ++tally.streamsLeft;
  } else {
    ++tally.erased;
  }
}

std::wstring NotInPlaceLines(const EraseTally& tally) {
  std::wstring lines;
  if (tally.elsewhere > 0)
    lines.append(L"\n").append(text::FormatCount(texts::kRemovedElsewhereFormat, tally.elsewhere));
  if (tally.streamsLeft > 0) {
    lines.append(L"\n").append(text::FormatCount(texts::kRemovedStreamsLeftFormat, tally.streamsLeft));
  }
  return lines;
}

std::wstring BatchResult(const EraseTally& tally) {
  std::wstring message;
  if (tally.erased > 0) message = text::FormatCount(texts::kErasedFormat, tally.erased);
  const std::wstring notInPlace = NotInPlaceLines(tally);
  if (message.empty() && notInPlace.empty()) return texts::kNothingErased;
  message.append(message.empty() ? notInPlace.substr(1) : notInPlace);
  return message;
}

}  // namespace engine
