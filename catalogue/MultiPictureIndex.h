// The further images of a JPEG file as its Multi-Picture Format index names them (CIPA DC-007:
// an APP2 segment "MPF" holding a TIFF-like directory). Many cameras store a large preview of
// about 1,600 by 1,000 pixels there, after the photo itself; exiv2's preview manager does not list
// it, and decoding the photo instead takes ten times as long.
#pragma once

#include <cstddef>
#include <vector>

struct MultiPictureImage {
    // Where the image lies in the file, and its length.
    size_t offset = 0;
    size_t size = 0;
    // From the image's own frame header.
    unsigned width = 0;
    unsigned height = 0;
};

// The images after the first that the index names, each lying whole within the bytes and starting
// like a JPEG with a readable frame size. Empty when the bytes are not a JPEG or carry no index.
// Reads only within size; never throws.
std::vector<MultiPictureImage> readMultiPictureImages(const unsigned char* bytes, size_t size);

// The frame size of the JPEG at bytes (its SOF header); false when none is found within size.
bool readJpegFrameSize(const unsigned char* bytes, size_t size, unsigned& width, unsigned& height);
