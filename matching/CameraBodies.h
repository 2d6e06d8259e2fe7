// Which camera body took each photo, so that each body's clock can be lined up on its own.
//
// The side file BarcodeImageCameras.txt (kBarcodeImageCamerasFileName) beside the photo list (written by the
// photo listing when it can read the body from the photo's metadata) names each photo's body: a header line
// "CPU=1234<TAB>Vers=1.00<TAB>Contents=ImageCameras", then one line per photo, its name exactly as
// the photo list gives it, a TAB, and a text naming the body (make, model, serial number). It is
// optional. Photos it does not name are told apart by the folder and the file prefix of their
// names ("DCIM/100NIKON/DSC_0001.JPG" and "DCIM/101NIKON/DSC_1000.JPG" are one body, "card2/IMG_"
// another); numbered camera folders count as one folder, and names that do not look like a
// camera's (no short letter prefix followed by a number) tell nothing.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

class CameraBodies {
  public:
    // photoNames are the photo list's name fields, as bytes; camerasPath the side file (it may
    // be missing). A side file that cannot be read or has no valid header is left aside with a
    // message in the log.
    static CameraBodies identify(const std::vector<std::string>& photoNames, const std::string& camerasPath);

    // One label per body, at least one.
    const std::vector<std::string>& labels() const { return fLabels; }
    // The body of each photo, in the order of the names given.
    const std::vector<size_t>& bodyOfPhoto() const { return fBodyOfPhoto; }

    // The body part of a photo name under the name rule: the folder, with camera folder numbers
    // replaced ("DCIM/###NIKON/"), and the file prefix when the file name looks like a camera's.
    static std::string nameRuleBody(const std::string& photoName);

  private:
    std::vector<std::string> fLabels;
    std::vector<size_t> fBodyOfPhoto;
};
