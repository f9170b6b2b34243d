// Decisions of the free-space erase that need no platform: how the free space
// is filled (file and write sizes, how many writers), the names of what the
// fill leaves in its folder and how a leftover folder is recognised, and the
// speed and time left of a run.
//
// The fill: in one folder at the drive's root, files of the overwrite stream
// are written, one per writer at a time, in large writes, until the volume
// is full; a writer that meets the full volume halves its write down to one
// cluster, in the file it has open, since a new name may need room in the
// folder's index that a full volume no longer has. On NTFS a tree of small
// files and folders then takes every free file record (see RecordTree).
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace freespace {

// The folder of the program's own at the volume's root ("D:\" + this) that
// holds the fill while it runs; an ASCII name that says what it is.
inline constexpr wchar_t kFillFolderName[] = L"MORVANE-Shredder-FreeSpaceFill";
// In the fill folder, written by nothing but the program: the identity of the
// run that made it. The account keeps the identities of its runs until their
// folders are gone; a folder of the fill folder's name whose marker names
// none of them is not ours, whatever it holds, and is never touched.
inline constexpr wchar_t kMarkerName[] = L"MORVANE-Shredder-Run.id";
inline constexpr std::size_t kRunIdentityDigits = 32;
// A run's identity from 16 random bytes: 32 lowercase hexadecimal digits.
std::wstring RunIdentity(const std::uint8_t (&random)[16]);
// Whether the marker's content (its bytes) names one of the account's `runs`.
bool MarkerNamesRun(std::string_view markerContent, const std::vector<std::wstring>& runs);
// In the fill folder: the root of the record tree.
inline constexpr wchar_t kRecordTreeName[] = L"records";

// Fill file `number` in the fill folder: "fill-0000002a.tmp".
std::wstring FillFileName(std::uint32_t number);

// The record tree: every folder holds these folders and files, and nothing
// else. Their names are short, so that an NTFS folder keeps all of them in
// its own file record and needs no cluster for its index.
inline constexpr const wchar_t* kRecordFolders[] = {L"d0", L"d1"};
inline constexpr const wchar_t* kRecordFiles[] = {L"f0", L"f1"};
// The data written into each file of the tree, largest first: the first size
// the file system keeps inside the file record (a larger one needs a cluster,
// which the full volume refuses) overwrites what an old small file left
// there. Up to the 4 KiB records of 4K-sector drives.
inline constexpr std::size_t kLargestRecordPayload = 4032;
inline constexpr std::size_t kRecordPayloadStep = 64;

// What an entry found while removing a fill folder of ours is. Anything but
// our own names, and every link, is Foreign: it is the user's, and stays
// (with the folder that holds it).
enum class FillEntry { FillFile, RecordFolder, Marker, Foreign };
// `inRecordTree`: the entry is below kRecordTreeName, not in the fill folder itself.
FillEntry ClassifyEntry(std::wstring_view name, bool isFolder, bool isLink, bool inRecordTree);

// Only NTFS keeps small files inside the file records that the record tree
// overwrites.
bool FillsRecords(std::wstring_view fileSystem);

struct FillPlan {
  std::uint64_t clusterBytes = 0;
  std::uint64_t writeBytes = 0;   // each file's writes, until the volume is full: whole clusters
  std::uint64_t fileBytes = 0;    // each file, in whole writes
  unsigned filesPerWriter = 0;    // 0: until the volume is full
  std::uint32_t timeLimitMs = 0;  // 0: none
};

// Until the volume is full: files of 1 GiB (below every file system's size
// limit), written 1 MiB at a time (whole clusters, whatever the cluster).
FillPlan PlanFill(std::uint64_t clusterBytes);

// The short timed write that measures the drive before the question: one
// file per writer, together at most 64 MiB and an eighth of the free space,
// ended after a second.
FillPlan PlanProbe(std::uint64_t clusterBytes, std::uint64_t freeBytes, unsigned writers);

// The next write after one of `failedBytes` found the volume full: half of
// it in whole clusters, or 0 when it was a single cluster (the volume is
// then full to the cluster).
std::uint64_t WriteAfterFull(std::uint64_t failedBytes, std::uint64_t clusterBytes);

// The writes of one fill file, as the fill sees them: a seam between the
// halving of the writes and the platform, so that the real loop is tried
// against a volume made up for the test.
class FillFileTarget {
 public:
  enum class WriteEnd {
    Whole,    // every byte asked for was written
    NoRoom,   // less or nothing: the volume, or the account's share of it, is full
    Refused,  // nothing, for another reason
  };
  struct Written {
    std::uint64_t bytes = 0;
    WriteEnd end = WriteEnd::Whole;
  };
  virtual ~FillFileTarget() = default;
  // Writes the next `bytes` of the stream at the end of the file.
  virtual Written Write(std::uint64_t bytes) = 0;
  // Puts what was written on the device; false when it refused.
  virtual bool Flush() = 0;
  // Whether the run is to end now (a stop, the time up, a failure elsewhere).
  virtual bool Ending() = 0;
};

enum class FileFill {
  Written,  // every planned byte
  NoRoom,   // the volume is full to the cluster
  Ended,    // the run ended it
  Failed,   // a write or a flush was refused
};
// Fills one file as `plan` says: whole writes while they fit, then halved
// down to one cluster (WriteAfterFull); flushed every so often and at the
// end, whatever ended it: the file is to be deleted, and a system may drop
// what a deleted file has not yet put on the device.
FileFill FillOneFile(const FillPlan& plan, FillFileTarget& file);

// How a part of the run ended: the fill of the free space, or the record tree.
enum class FillEnd {
  Full,     // nothing more could be written: the free space is taken
  Share,    // the account's share of the volume (a quota) is taken: all this run can reach
  Planned,  // every planned file written, or the time was up (the measuring write)
  Stopped,  // the user stopped it, or the session ended
  Failed,   // the drive refused a write for another reason than being full
};

// What of the volume's free space lay beyond the account's reach: the part
// of `volumeFree` (all the volume has free) that `callerFree` (what the
// account may write: a quota, a reserve for the administrator) leaves out;
// 0 when that is no more than the rounding of a full fill.
std::uint64_t BeyondReach(std::uint64_t volumeFree, std::uint64_t callerFree);

enum class Outcome {
  Done,            // filled to the last cluster (and every free record taken)
  Reached,         // filled as far as the account may write; the rest was beyond its reach
  NothingToWrite,  // the free space was gone when the fill began
  Stopped,         // the user stopped it, or the session ended
  WriteFailed,     // the drive stopped taking writes for another reason than being full
  DriveChanged,    // another disk was in the drive at the end
};
struct RunEnds {
  FillEnd data = FillEnd::Failed;
  std::optional<FillEnd> records;  // when the record tree was filled too
  bool sameDisk = true;            // the disk at the end is the one at the start
  std::uint64_t bytesWritten = 0;
  std::uint64_t beyondReach = 0;  // free at the fill's end that the account could not write (BeyondReach)
};
// What the user is told of a run: a stop in either part is a stop, since
// what the record tree had not reached yet may still hold small files; a
// fill is complete only when nothing free was beyond the account's reach.
Outcome OutcomeOf(const RunEnds& ends);

// Two writers per core, each making its own stream: while one waits for the
// device, the other makes its next piece, so that the cores stay busy (one
// per core left them idle half the time). At least 2 and at most 32.
unsigned WriterCount(unsigned cores);

// Bytes per second from bytes and milliseconds; 0 when no time has passed.
std::uint64_t BytesPerSecond(std::uint64_t bytes, std::uint64_t milliseconds);
// Seconds to write `bytes` at `bytesPerSecond`, rounded up; nothing when the
// speed is unknown (0).
std::optional<std::uint64_t> SecondsFor(std::uint64_t bytes, std::uint64_t bytesPerSecond);

// The speed of a run over its last few seconds, from samples of the total
// written so far, so that the time left follows a drive that slows down.
class RateMeter {
 public:
  void Add(std::uint64_t milliseconds, std::uint64_t totalBytes);
  // 0 until the samples span some time.
  std::uint64_t BytesPerSecond() const;

 private:
  struct Sample {
    std::uint64_t milliseconds;
    std::uint64_t totalBytes;
  };
  std::deque<Sample> samples_;
};

}  // namespace freespace
