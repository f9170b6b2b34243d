#include "shredder/settings/settings_place_rules.h"

#include "shredder/settings/settings_keys.h"

namespace settings {
namespace {

std::wstring OwnFolderIn(std::wstring folder) {
  if (folder.empty() || folder.back() != L'\\') folder.push_back(L'\\');
  return folder + kPerUserFolderName + L"\\";
}

}  // namespace

bool UserMayWriteWithoutElevation(const ProgramFolderFacts& facts) {
  if (facts.readOnlyVolume) return false;
  if (facts.token == TokenKind::Elevated) return facts.linkedTokenMayWrite.value_or(false);
  return facts.ownTokenMayWrite.value_or(true);
}

Places ChoosePlaces(bool userMayWriteBeside, const std::wstring& programFolder, const UserFolders& folders) {
  Places places;
  places.perUser = !userMayWriteBeside && folders.roamingAppData.has_value();
  if (places.perUser) {
    places.settingsFolder = OwnFolderIn(*folders.roamingAppData);
    places.defaultsFile = programFolder + kProfileFileName;
  } else {
    places.settingsFolder = programFolder;
  }
  if (userMayWriteBeside) {
    places.workFolderParents.push_back(programFolder);
  } else if (folders.localAppData) {
    places.workFolderParents.push_back(OwnFolderIn(*folders.localAppData));
  }
  if (folders.temporary) places.workFolderParents.push_back(OwnFolderIn(*folders.temporary));
  return places;
}

}  // namespace settings
