// The few names in which exiv2 0.27 and 0.28 differ, so that every use of the library builds
// against both.
//
// 0.28 replaced the std::auto_ptr "AutoPtr" typedefs by std::unique_ptr "UniquePtr" ones, took
// sizes as size_t instead of long, renamed Exifdatum::toLong to toInt64, folded AnyError and
// BasicError<char> into the one class Exiv2::Error (still derived from std::exception) and turned
// the HEIF/AVIF/CR3 reader on by default, and made ImageType an enum class (its enumerators keep
// the names 0.27 gave its constants, Exiv2::ImageType::jpeg and so on). Catch std::exception to cover both
// versions.
#pragma once

#include <exiv2/exiv2.hpp>

#include <cstdint>

#if EXIV2_TEST_VERSION(0, 28, 0)
namespace VeskExiv2 {
using ImagePtr = Exiv2::Image::UniquePtr;
using ValuePtr = Exiv2::Value::UniquePtr;
// The type exiv2 takes and gives byte counts in.
using ByteCount = size_t;
// ImageFactory::getType's result: an enum class since 0.28.
using ImageTypeCode = Exiv2::ImageType;
inline int64_t toInteger(const Exiv2::Exifdatum& datum) {
    return datum.toInt64();
}
// The ISO base media reader (HEIF, AVIF, CR3) is on by default.
inline void enableIsoBaseMediaFormats() {}
} // namespace VeskExiv2
#else
namespace VeskExiv2 {
using ImagePtr = Exiv2::Image::AutoPtr;
using ValuePtr = Exiv2::Value::AutoPtr;
using ByteCount = long;
using ImageTypeCode = int;
inline int64_t toInteger(const Exiv2::Exifdatum& datum) {
    return datum.toLong();
}
inline void enableIsoBaseMediaFormats() {
    Exiv2::enableBMFF(true);
}
} // namespace VeskExiv2
#endif
