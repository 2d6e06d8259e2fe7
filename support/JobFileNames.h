// The names of the files a job keeps in its working folder, shared by the layer that writes each
// file and the layers that read it. A path is the working folder (ending in "/") plus the name.
#pragma once

// The scanner's stored scans: written by the download, read by the match.
inline constexpr char kBarcodeDataFileName[] = "BarcodeDataSource.txt";

// The photos with their capture times: written by the image list step, read by the match.
inline constexpr char kBarcodeImageListFileName[] = "BarcodeImageList.txt";

// The camera body of each listed photo: written beside the list from the same read of each photo,
// read by the match to tell two camera bodies apart.
inline constexpr char kBarcodeImageCamerasFileName[] = "BarcodeImageCameras.txt";
