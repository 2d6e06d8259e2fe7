// bench_image_list [--folder DIR] [--photos N] [--raws N] [--raw-mb N] [--real-kb N] [--runs N]
//                  [--no-cold] [--threads-sweep 2,4,8,...] [--keep] [--cli PATH]
//
// Generates a shoot of camera-sized files: N JPEG photos of 6 to 12 MB (a real camera-like JPEG
// whose Exif, with two camera bodies' make, model and serial numbers and a 320x240 thumbnail, sits
// at the start, followed by --real-kb of real image data and then a sparse hole to the file's
// size) and RAW files of --raw-mb MB (DNG-structured, the same real bytes then a hole). Then it
// times over the same folder:
//   vesk-cli image-list DIR
//   exiftool -r -DateTimeOriginal DIR
//   exiv2 -g Exif.Photo.DateTimeOriginal FILE... (one process, the library's own floor)
// with a warm cache (median of the runs) and a cold one (the page cache dropped before each run,
// as root), counts vesk-cli's opens, stats and reads per photo under strace, and with
// --threads-sweep times vesk-cli cold with each number of readers. The folder is removed at the
// end unless --keep is given.
#include "Exiv2Compat.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Options {
    std::string folder = "/tmp/vesk-bench-image-list";
    int photos = 19000;
    int raws = 1000;
    int rawMegabytes = 25;
    int realKilobytes = 256;
    int runs = 3;
    bool cold = true;
    bool keep = false;
    std::vector<unsigned> threadSweep;
    std::string cli = std::string(VESK_BIN_DIR) + "/vesk-cli";
};

const char kDateTemplate[] = "2019:05:14 08:00:00";
const char kSerialTemplate[] = "032021001234";
const char kOtherSerial[] = "032021005678";

void fail(const std::string& text) {
    fprintf(stderr, "bench_image_list: %s\n", text.c_str());
    std::exit(1);
}

bool run(const std::vector<std::string>& arguments, bool quiet = true, const std::string& directory = "") {
    pid_t child = fork();
    if (child < 0)
        return false;
    if (child == 0) {
        if (!directory.empty() && chdir(directory.c_str()) != 0)
            _exit(126);
        if (quiet) {
            int null = open("/dev/null", O_WRONLY);
            dup2(null, 1);
            dup2(null, 2);
        }
        std::vector<char*> argv;
        for (const std::string& a : arguments)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    // exiftool and exiv2 exit non-zero when some file lacks the tag asked for; only a crash or a
    // missing program counts as a failure.
    return WIFEXITED(status) && WEXITSTATUS(status) != 127 && WEXITSTATUS(status) != 126;
}

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void writeAll(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.good())
        fail("cannot write " + path);
}

void put16(std::string& out, uint16_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}
void put32(std::string& out, uint32_t v) {
    put16(out, static_cast<uint16_t>(v & 0xFFFF));
    put16(out, static_cast<uint16_t>(v >> 16));
}
void entry(std::string& out, uint16_t tag, uint16_t type, uint32_t count, uint32_t value) {
    put16(out, tag);
    put16(out, type);
    put32(out, count);
    put32(out, value);
}

// The metadata part of a DNG-structured RAW file: IFD0 with one 16-bit strip that fills the rest
// of the file, an Exif IFD with the capture time. The strip follows at offset 4096.
std::string rawHeader(uint32_t width, uint32_t height, const std::string& date) {
    const uint16_t kByte = 1, kAscii = 2, kShort = 3, kLong = 4;
    const uint16_t ifd0Count = 14;
    const uint32_t ifd0 = 8;
    const uint32_t exifIfd = ifd0 + 2 + ifd0Count * 12 + 4;
    const uint16_t exifCount = 2;
    const uint32_t strings = exifIfd + 2 + exifCount * 12 + 4;
    const uint32_t make = strings, model = make + 8, dateOffset = model + 8;
    const uint32_t strip = 4096;
    std::string out = "II*";
    out += '\0';
    put32(out, ifd0);
    put16(out, ifd0Count);
    entry(out, 254, kLong, 1, 0);
    entry(out, 256, kLong, 1, width);
    entry(out, 257, kLong, 1, height);
    entry(out, 258, kShort, 1, 16);
    entry(out, 259, kShort, 1, 1);
    entry(out, 262, kShort, 1, 1);
    entry(out, 271, kAscii, 8, make);
    entry(out, 272, kAscii, 8, model);
    entry(out, 273, kLong, 1, strip);
    entry(out, 277, kShort, 1, 1);
    entry(out, 278, kLong, 1, height);
    entry(out, 279, kLong, 1, width * height * 2);
    entry(out, 34665, kLong, 1, exifIfd);
    entry(out, 50706, kByte, 4, 0x00000401); // DNGVersion 1.4.0.0
    put32(out, 0);
    put16(out, exifCount);
    entry(out, 36867, kAscii, 20, dateOffset);
    entry(out, 37521, kAscii, 3, 0x00003030); // SubSecTimeOriginal "00"
    put32(out, 0);
    out += std::string("Bench\0\0\0", 8);
    out += std::string("RAW-1\0\0\0", 8);
    out += date;
    out += '\0';
    out.resize(strip, '\0');
    return out;
}

std::string dateFor(int index) {
    int seconds = index * 7;
    char text[32];
    snprintf(text, sizeof text, "2019:05:%02d %02d:%02d:%02d", 14 + seconds / 86400,
             (8 + seconds / 3600) % 24, (seconds / 60) % 60, seconds % 60);
    return text;
}

// A camera-like JPEG from ImageMagick: its Exif written by exiv2 with what a camera records (make,
// model, body serial, exposure, a Canon maker note and a 320x240 thumbnail). Copies get their own
// dates and serial numbers by patching those bytes in place.
std::string templateJpeg(const std::string& folder) {
    const std::string path = folder + "/.template.jpg";
    const std::string thumbnail = folder + "/.thumbnail.jpg";
    if (!run({"convert", "-size", "2400x1600", "plasma:fractal", "-quality", "92", path}) ||
        !run({"convert", path, "-resize", "320x240", "-quality", "95", thumbnail}))
        fail("ImageMagick's convert is needed to make the template photo");
    VeskExiv2::ImagePtr image = Exiv2::ImageFactory::open(path);
    image->readMetadata();
    Exiv2::ExifData& exif = image->exifData();
    exif["Exif.Image.Make"] = "Canon";
    exif["Exif.Image.Model"] = "Canon EOS 5D Mark IV";
    exif["Exif.Image.Orientation"] = uint16_t(1);
    exif["Exif.Image.XResolution"] = Exiv2::URational(72, 1);
    exif["Exif.Image.YResolution"] = Exiv2::URational(72, 1);
    exif["Exif.Image.ResolutionUnit"] = uint16_t(2);
    exif["Exif.Image.DateTime"] = "2019:05:14 09:00:00";
    exif["Exif.Image.Artist"] = "School Photo Co.";
    exif["Exif.Image.Copyright"] = "School Photo Co.";
    exif["Exif.Photo.DateTimeOriginal"] = kDateTemplate;
    exif["Exif.Photo.DateTimeDigitized"] = "2019:05:14 09:00:01";
    exif["Exif.Photo.SubSecTimeOriginal"] = "00";
    exif["Exif.Photo.BodySerialNumber"] = kSerialTemplate;
    exif["Exif.Photo.LensModel"] = "EF24-105mm f/4L IS II USM";
    exif["Exif.Photo.LensSerialNumber"] = "0000c1a2b3";
    exif["Exif.Photo.ExposureTime"] = Exiv2::URational(1, 125);
    exif["Exif.Photo.FNumber"] = Exiv2::URational(56, 10);
    exif["Exif.Photo.ExposureProgram"] = uint16_t(1);
    exif["Exif.Photo.ISOSpeedRatings"] = uint16_t(200);
    exif["Exif.Photo.FocalLength"] = Exiv2::URational(85, 1);
    exif["Exif.Photo.Flash"] = uint16_t(16);
    exif["Exif.Photo.MeteringMode"] = uint16_t(5);
    exif["Exif.Photo.WhiteBalance"] = uint16_t(1);
    exif["Exif.Photo.PixelXDimension"] = uint32_t(6720);
    exif["Exif.Photo.PixelYDimension"] = uint32_t(4480);
    exif["Exif.Photo.ColorSpace"] = uint16_t(1);
    exif["Exif.Photo.UserComment"] = std::string("charset=Ascii ") + std::string(200, ' ');
    exif["Exif.Canon.SerialNumber"] = uint32_t(2021001234);
    exif["Exif.Canon.FirmwareVersion"] = "Firmware Version 1.3.3";
    exif["Exif.Canon.OwnerName"] = "Studio";
    exif["Exif.Canon.ImageType"] = "Canon EOS 5D Mark IV";
    Exiv2::ExifThumb(exif).setJpegThumbnail(thumbnail);
    image->writeMetadata();
    std::string bytes = readAll(path);
    unlink(path.c_str());
    unlink(thumbnail.c_str());
    return bytes;
}

// Writes the first realBytes of bytes, then a hole up to size less two bytes, then the JPEG end
// marker: the file occupies realBytes on disk but has a camera file's size.
void writeSparse(const std::string& path, const std::string& bytes, size_t realBytes, size_t size,
                 const std::string& tail) {
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        fail("cannot create " + path);
    realBytes = std::min(realBytes, bytes.size());
    bool ok = write(fd, bytes.data(), realBytes) == static_cast<ssize_t>(realBytes);
    ok = ok && pwrite(fd, tail.data(), tail.size(), static_cast<off_t>(size - tail.size())) ==
                   static_cast<ssize_t>(tail.size());
    if (close(fd) != 0 || !ok)
        fail("cannot write " + path);
}

std::vector<std::string> generate(const Options& options) {
    std::vector<std::string> files;
    const std::string stamp = options.folder + "/.bench-stamp";
    const std::string wanted = std::to_string(options.photos) + " " + std::to_string(options.raws) + " " +
                               std::to_string(options.rawMegabytes) + " " +
                               std::to_string(options.realKilobytes) + " v2\n";
    for (int i = 0; i < options.photos; ++i) {
        char name[64];
        snprintf(name, sizeof name, "/%03dCANON/IMG_%04d.JPG", 100 + i / 1000, i % 10000);
        files.push_back(options.folder + name);
    }
    for (int i = 0; i < options.raws; ++i) {
        char name[64];
        snprintf(name, sizeof name, "/RAW/DSC_%04d.DNG", i);
        files.push_back(options.folder + name);
    }
    if (readAll(stamp) == wanted) {
        fprintf(stderr, "Reusing the shoot in %s\n", options.folder.c_str());
        return files;
    }
    run({"rm", "-rf", options.folder});
    mkdir(options.folder.c_str(), 0755);
    fprintf(stderr,
            "Generating %d JPEG photos of 6 to 12 MB and %d RAW files of %d MB (%d KB real each) in %s...\n",
            options.photos, options.raws, options.rawMegabytes, options.realKilobytes,
            options.folder.c_str());
    std::string jpeg = templateJpeg(options.folder);
    const size_t dateAt = jpeg.find(kDateTemplate);
    const size_t serialAt = jpeg.find(kSerialTemplate);
    if (dateAt == std::string::npos || serialAt == std::string::npos)
        fail("the template photo has no date or serial number to patch");
    const size_t realBytes = static_cast<size_t>(options.realKilobytes) * 1024;
    const std::string endOfImage("\xFF\xD9", 2);
    for (int i = 0; i < options.photos; ++i) {
        std::string folder = files[i].substr(0, files[i].rfind('/'));
        mkdir(folder.c_str(), 0755);
        std::string date = dateFor(i);
        jpeg.replace(dateAt, date.size(), date);
        jpeg.replace(serialAt, std::strlen(kSerialTemplate), (i / 40) % 2 ? kOtherSerial : kSerialTemplate);
        const size_t size = (6u << 20) + static_cast<size_t>((i * 2654435761u) % (6u << 20));
        writeSparse(files[i], jpeg, realBytes, size, endOfImage);
    }
    mkdir((options.folder + "/RAW").c_str(), 0755);
    const size_t rawSize = static_cast<size_t>(options.rawMegabytes) << 20;
    const uint32_t side = static_cast<uint32_t>(std::sqrt(rawSize / 2.0)) - 64;
    std::string pixels(realBytes, '\0');
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<char>((i * 2654435761u) >> 13);
    for (int i = 0; i < options.raws; ++i) {
        std::string bytes = rawHeader(side, side, dateFor(options.photos + i)) + pixels;
        writeSparse(files[options.photos + i], bytes, bytes.size(), rawSize, std::string(2, '\0'));
    }
    writeAll(options.folder + "/notes.txt", "Shoot notes\n");
    writeAll(options.folder + "/RAW/DSC_0000.xmp", "<x:xmpmeta xmlns:x='adobe:ns:meta/'/>\n");
    run({"sync"});
    writeAll(stamp, wanted);
    return files;
}

bool dropCaches() {
    sync();
    int fd = open("/proc/sys/vm/drop_caches", O_WRONLY);
    if (fd < 0)
        return false;
    bool ok = write(fd, "3\n", 2) == 2;
    close(fd);
    return ok;
}

double seconds(const std::vector<std::string>& command, bool cold, const std::string& directory = "") {
    if (cold && !dropCaches())
        return -1;
    auto start = std::chrono::steady_clock::now();
    if (!run(command, true, directory))
        fail("command failed: " + command[0]);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// System calls of one vesk-cli run by name, counted by strace; empty without strace.
std::map<std::string, long> countSystemCalls(const std::vector<std::string>& command) {
    const std::string output = "/tmp/vesk-bench-image-list-strace.txt";
    std::vector<std::string> traced = {
        "strace",
        "-f",
        "-c",
        "-o",
        output,
        "-e",
        "trace=openat,open,newfstatat,statx,fstat,lstat,stat,read,pread64,readahead"};
    traced.insert(traced.end(), command.begin(), command.end());
    std::map<std::string, long> counts;
    if (!run(traced))
        return counts;
    std::istringstream lines(readAll(output));
    unlink(output.c_str());
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::vector<std::string> words;
        std::string word;
        while (fields >> word)
            words.push_back(word);
        // "% time seconds usecs/call calls [errors] syscall"
        if (words.size() < 5 || words[0].find_first_not_of("0123456789.") != std::string::npos)
            continue;
        counts[words.back()] = std::atol(words[3].c_str());
    }
    return counts;
}

std::vector<unsigned> parseList(const std::string& text) {
    std::vector<unsigned> values;
    std::istringstream items(text);
    std::string item;
    while (std::getline(items, item, ','))
        if (std::atoi(item.c_str()) > 0)
            values.push_back(static_cast<unsigned>(std::atoi(item.c_str())));
    return values;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto next = [&]() -> std::string { return i + 1 < argc ? argv[++i] : ""; };
        if (a == "--folder")
            options.folder = next();
        else if (a == "--photos")
            options.photos = std::atoi(next().c_str());
        else if (a == "--raws")
            options.raws = std::atoi(next().c_str());
        else if (a == "--raw-mb")
            options.rawMegabytes = std::max(1, std::atoi(next().c_str()));
        else if (a == "--real-kb")
            options.realKilobytes = std::max(64, std::atoi(next().c_str()));
        else if (a == "--runs")
            options.runs = std::max(1, std::atoi(next().c_str()));
        else if (a == "--no-cold")
            options.cold = false;
        else if (a == "--cli")
            options.cli = next();
        else if (a == "--keep")
            options.keep = true;
        else if (a == "--threads-sweep")
            options.threadSweep = parseList(next());
        else
            fail("unknown argument " + a);
    }
    std::vector<std::string> files = generate(options);
    const size_t photoCount = files.size();

    struct Tool {
        const char* name;
        std::vector<std::string> command;
        int runs;
        double warm = 0, cold = -1;
    };
    // The exiv2 tool reads the files named on its command line, from inside the folder so that the
    // names stay short.
    std::vector<std::string> exiv2Command = {"exiv2", "-q", "-g", "Exif.Photo.DateTimeOriginal"};
    for (const std::string& file : files)
        exiv2Command.push_back(file.substr(options.folder.size() + 1));
    const std::string& cli = options.cli;
    std::vector<Tool> tools = {
        {"vesk-cli image-list", {cli, "image-list", options.folder}, options.runs},
        {"exiv2 -g (one process)", exiv2Command, options.runs},
        {"exiftool -r -DateTimeOriginal", {"exiftool", "-q", "-r", "-DateTimeOriginal", options.folder}, 1},
    };
    for (Tool& tool : tools) {
        const std::string directory = tool.command[0] == "exiv2" ? options.folder : "";
        seconds(tool.command, false, directory); // prime the warm cache
        std::vector<double> warm;
        for (int r = 0; r < tool.runs; ++r)
            warm.push_back(seconds(tool.command, false, directory));
        tool.warm = median(warm);
        if (!options.cold)
            continue;
        std::vector<double> cold;
        for (int r = 0; r < tool.runs; ++r) {
            double t = seconds(tool.command, true, directory);
            if (t < 0)
                break;
            cold.push_back(t);
        }
        if (!cold.empty())
            tool.cold = median(cold);
    }
    std::vector<std::pair<unsigned, double>> sweep;
    for (unsigned threads : options.threadSweep) {
        std::vector<double> cold;
        for (int r = 0; r < options.runs; ++r)
            cold.push_back(
                seconds({cli, "image-list", options.folder, "--threads", std::to_string(threads)}, true));
        sweep.emplace_back(threads, median(cold));
    }
    std::map<std::string, long> calls = countSystemCalls(tools[0].command);

    printf(
        "Shoot: %d JPEG photos of 6 to 12 MB (%d KB real data each) and %d DNG-structured RAW files of %d MB "
        "in %s\n",
        options.photos, options.realKilobytes, options.raws, options.rawMegabytes, options.folder.c_str());
    printf("%-32s %10s %10s\n", "", "warm (s)", "cold (s)");
    for (const Tool& tool : tools) {
        if (tool.cold < 0)
            printf("%-32s %10.3f %10s\n", tool.name, tool.warm, "n/a");
        else
            printf("%-32s %10.3f %10.3f\n", tool.name, tool.warm, tool.cold);
    }
    printf("vesk-cli / exiv2 tool (the floor): %.2f warm", tools[0].warm / tools[1].warm);
    if (tools[0].cold > 0 && tools[1].cold > 0)
        printf(", %.2f cold", tools[0].cold / tools[1].cold);
    printf("\nvesk-cli / exiftool: %.3f warm", tools[0].warm / tools[2].warm);
    if (tools[0].cold > 0 && tools[2].cold > 0)
        printf(", %.3f cold", tools[0].cold / tools[2].cold);
    printf("\n");
    if (!calls.empty()) {
        auto perPhoto = [&](std::initializer_list<const char*> names) {
            long total = 0;
            for (const char* name : names)
                total += calls.count(name) ? calls[name] : 0;
            return double(total) / double(photoCount);
        };
        printf("vesk-cli per photo (strace, %zu files): %.2f opens, %.2f stats, %.2f reads, %.2f read-ahead "
               "requests\n",
               photoCount, perPhoto({"openat", "open"}),
               perPhoto({"newfstatat", "statx", "fstat", "lstat", "stat"}), perPhoto({"read", "pread64"}),
               perPhoto({"readahead"}));
    }
    for (const auto& entry : sweep)
        printf("vesk-cli --threads %-3u cold: %.3f s\n", entry.first, entry.second);
    if (options.cold && tools[0].cold < 0)
        printf("The caches could not be dropped here (/proc/sys/vm/drop_caches): warm figures only.\n");
    if (!options.keep)
        run({"rm", "-rf", options.folder});
    return 0;
}
