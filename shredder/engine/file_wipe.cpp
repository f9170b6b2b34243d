#include <shlwapi.h>

#include "common/paths.h"
#include "shredder/app/main_dialog.h"
#include "shredder/engine/engine_texts.h"
#include "winframe/app.h"

bool CMainDialog::WipeFile(const std::string&) {
  // The overwrite passes come with the shredding engine; until then nothing
  // is wiped and the caller is told so.
  return false;
}

bool CMainDialog::IsFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool CMainDialog::ClearReadOnly(const std::string&) { return false; }

bool CMainDialog::WipeRecycledFile(const std::string&, const std::string&) { return false; }

void CMainDialog::CreateWorkFolder(const std::string& folder) {
  const std::optional<std::string> path = paths::Join(folder, engine::texts::kWorkFolderName);
  if (!path) {
    workFolder_.clear();
    wf::App::Current()->MessageBox(engine::texts::kWorkFolderPathTooLong, MB_ICONERROR);
    return;
  }
  workFolder_ = *path;
  if (!PathFileExistsA(workFolder_.c_str()) && !CreateDirectoryA(workFolder_.c_str(), nullptr)) {
    wf::App::Current()->MessageBox(engine::texts::kWorkFolderNotCreated, MB_ICONERROR);
  }
}
