#include "core/folders.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace velkaro {

AppFolders MakeAppFolders(std::string programFolder) {
  if (programFolder.empty() || programFolder.back() != '/') programFolder += '/';
  AppFolders f;
  f.programFolder = programFolder;
  f.dataFolder = programFolder + "DATA";
  f.meshFolder = f.dataFolder + "/DATA1";
  f.data2Folder = f.dataFolder + "/DATA2";
  f.userFolder = f.dataFolder + "/DATA3";
  f.registeredPlaces = f.userFolder + "/location.csv";
  f.lastViewpoint = f.userFolder + "/prevdata.txt";
  f.labelList = f.data2Folder + "/d10.03";
  f.summitList = f.data2Folder + "/d2.03";
  f.placeNameList = f.data2Folder + "/d3.20";
  f.municipalityList = f.data2Folder + "/d4.03";
  f.mapPage = f.userFolder + "/map1.html";
  f.smallMapPage = f.userFolder + "/kgmap.html";
  f.mountainMapPage = f.userFolder + "/mtmap.html";
  f.elevationReply = f.userFolder + "/json.txt";
  f.exportPicture = f.userFolder + "/tmp.jpg";
  f.helpFile = programFolder + "velkaro_help/velkaro.html";
  f.eclipseList = programFolder + "eclipse.txt";
  return f;
}

std::string ExecutableFolder() {
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return "./";
  std::string dir = exe.parent_path().string();
  if (dir.empty() || dir.back() != '/') dir += '/';
  return dir;
}

bool EnsureUserFolder(const AppFolders& folders, std::string* error) {
  struct stat st {};
  if (::stat(folders.userFolder.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return true;
  if (::mkdir(folders.userFolder.c_str(), 0755) == 0) return true;
  if (error)
    *error = "I/O error: cannot create " + folders.userFolder + ": " + std::strerror(errno);
  return false;
}

}  // namespace velkaro
