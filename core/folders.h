#pragma once

#include <string>

namespace velkaro {

// Every path of the program, built from the folder that holds the executable.
struct AppFolders {
  std::string programFolder;  // ends with '/'
  std::string dataFolder;     // programFolder + "DATA"
  std::string meshFolder;     // dataFolder + "/DATA1"
  std::string data2Folder;    // dataFolder + "/DATA2"
  std::string userFolder;     // dataFolder + "/DATA3"
  std::string registeredPlaces;
  std::string lastViewpoint;
  std::string labelList;
  std::string summitList;
  std::string placeNameList;
  std::string municipalityList;
  std::string mapPage;
  std::string smallMapPage;
  std::string mountainMapPage;
  std::string elevationReply;
  std::string exportPicture;
  std::string helpFile;
  std::string eclipseList;
};

AppFolders MakeAppFolders(std::string programFolder);
// The folder of the running executable, ending with '/'.
std::string ExecutableFolder();

// Creates the user folder when it is missing. False with an input/output error message when it
// cannot be created; the DATA, DATA1 and DATA2 folders are never created here.
bool EnsureUserFolder(const AppFolders& folders, std::string* error = nullptr);

}  // namespace velkaro
