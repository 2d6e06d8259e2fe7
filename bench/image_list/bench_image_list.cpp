// bench_image_list [--folder DIR] [--photos N] [--raws N] [--raw-mb N] [--runs N] [--no-cold]
//
// Generates a shoot (N real JPEG files with EXIF dates in a few subfolders, and RAW-sized
// TIFF/DNG files), then times over the same folder:
//   vesk-cli image-list DIR
//   exiftool -r -DateTimeOriginal DIR
//   exiv2 -g Exif.Photo.DateTimeOriginal FILE... (one process, the library's own floor)
// with a warm cache (median of the runs) and, where the caches may be dropped, a cold one.
#include <exiv2/exiv2.hpp>

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
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Options {
    std::string folder = "/tmp/vesk-bench-image-list";
    int photos = 5000;
    int raws = 300;
    int rawMegabytes = 16;
    int runs = 5;
    bool cold = true;
};

const char kDateTemplate[] = "2019:05:14 08:00:00";

void fail(const std::string& text) {
    fprintf(stderr, "bench_image_list: %s\n", text.c_str());
    std::exit(1);
}

bool run(const std::vector<std::string>& arguments, bool quiet = true) {
    pid_t child = fork();
    if (child < 0)
        return false;
    if (child == 0) {
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
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
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

// A JPEG from ImageMagick, with its EXIF written by exiv2; copies get their own dates by
// patching the date bytes in place.
std::string templateJpeg(const std::string& folder) {
    const std::string path = folder + "/.template.jpg";
    if (!run({"convert", "-size", "1024x768", "plasma:fractal", "-quality", "85", path}))
        fail("ImageMagick's convert is needed to make the template photo");
    Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(path);
    image->readMetadata();
    Exiv2::ExifData& exif = image->exifData();
    exif["Exif.Image.Make"] = "Bench";
    exif["Exif.Image.Model"] = "Camera 1";
    exif["Exif.Photo.DateTimeOriginal"] = kDateTemplate;
    exif["Exif.Photo.SubSecTimeOriginal"] = "00";
    exif["Exif.Photo.ExposureTime"] = Exiv2::URational(1, 125);
    exif["Exif.Photo.FNumber"] = Exiv2::URational(56, 10);
    exif["Exif.Photo.ISOSpeedRatings"] = uint16_t(200);
    image->writeMetadata();
    std::string bytes = readAll(path);
    unlink(path.c_str());
    return bytes;
}

std::vector<std::string> generate(const Options& options) {
    std::vector<std::string> files;
    const std::string stamp = options.folder + "/.bench-stamp";
    const std::string wanted = std::to_string(options.photos) + " " + std::to_string(options.raws) + " " +
                               std::to_string(options.rawMegabytes) + "\n";
    for (int i = 0; i < options.photos; ++i) {
        char name[64];
        snprintf(name, sizeof name, "/%03dCANON/IMG_%04d.JPG", 100 + i / 500, i);
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
    fprintf(stderr, "Generating %d photos and %d RAW files of %d MB in %s...\n", options.photos, options.raws,
            options.rawMegabytes, options.folder.c_str());
    std::string jpeg = templateJpeg(options.folder);
    size_t dateAt = jpeg.find(kDateTemplate);
    if (dateAt == std::string::npos)
        fail("the template photo has no date to patch");
    for (int i = 0; i < options.photos; ++i) {
        std::string folder = files[i].substr(0, files[i].rfind('/'));
        mkdir(folder.c_str(), 0755);
        std::string date = dateFor(i);
        jpeg.replace(dateAt, date.size(), date);
        writeAll(files[i], jpeg);
    }
    mkdir((options.folder + "/RAW").c_str(), 0755);
    const uint32_t side = static_cast<uint32_t>(std::sqrt(options.rawMegabytes * 1048576.0 / 2));
    std::string pixels(static_cast<size_t>(side) * side * 2, '\0');
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<char>((i * 2654435761u) >> 13);
    for (int i = 0; i < options.raws; ++i) {
        std::string bytes = rawHeader(side, side, dateFor(options.photos + i));
        std::ofstream out(files[options.photos + i], std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
        if (!out.good())
            fail("cannot write " + files[options.photos + i]);
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

double seconds(const std::vector<std::string>& command, bool cold) {
    if (cold && !dropCaches())
        return -1;
    auto start = std::chrono::steady_clock::now();
    if (!run(command))
        fail("command failed: " + command[0]);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
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
            options.rawMegabytes = std::atoi(next().c_str());
        else if (a == "--runs")
            options.runs = std::max(1, std::atoi(next().c_str()));
        else if (a == "--no-cold")
            options.cold = false;
        else
            fail("unknown argument " + a);
    }
    std::vector<std::string> files = generate(options);

    struct Tool {
        const char* name;
        std::vector<std::string> command;
        double warm = 0, cold = -1;
    };
    std::vector<std::string> exiv2Command = {"exiv2", "-q", "-g", "Exif.Photo.DateTimeOriginal"};
    exiv2Command.insert(exiv2Command.end(), files.begin(), files.end());
    std::vector<Tool> tools = {
        {"vesk-cli image-list", {std::string(VESK_BIN_DIR) + "/vesk-cli", "image-list", options.folder}},
        {"exiftool -r -DateTimeOriginal", {"exiftool", "-q", "-r", "-DateTimeOriginal", options.folder}},
        {"exiv2 -g (one process)", exiv2Command},
    };
    for (Tool& tool : tools)
        seconds(tool.command, false); // prime the warm cache
    for (Tool& tool : tools) {
        std::vector<double> warm;
        for (int r = 0; r < options.runs; ++r)
            warm.push_back(seconds(tool.command, false));
        tool.warm = median(warm);
        if (options.cold) {
            std::vector<double> cold;
            for (int r = 0; r < std::min(options.runs, 3); ++r) {
                double t = seconds(tool.command, true);
                if (t < 0)
                    break;
                cold.push_back(t);
            }
            if (!cold.empty())
                tool.cold = median(cold);
        }
    }
    printf("Shoot: %d JPEG photos (%zu KB each) and %d DNG-structured RAW files of %d MB in %s\n",
           options.photos, readAll(files[0]).size() / 1024, options.raws, options.rawMegabytes,
           options.folder.c_str());
    printf("%-32s %10s %10s\n", "", "warm (s)", "cold (s)");
    for (const Tool& tool : tools) {
        if (tool.cold < 0)
            printf("%-32s %10.3f %10s\n", tool.name, tool.warm, "n/a");
        else
            printf("%-32s %10.3f %10.3f\n", tool.name, tool.warm, tool.cold);
    }
    printf("exiftool / vesk-cli: %.1f times (warm)", tools[1].warm / tools[0].warm);
    if (tools[0].cold > 0 && tools[1].cold > 0)
        printf(", %.1f times (cold)", tools[1].cold / tools[0].cold);
    printf("\nvesk-cli / exiv2 tool: %.2f (warm)", tools[0].warm / tools[2].warm);
    if (tools[0].cold > 0 && tools[2].cold > 0)
        printf(", %.2f (cold)", tools[0].cold / tools[2].cold);
    printf("\n");
    if (options.cold && tools[0].cold < 0)
        printf("The caches could not be dropped here (/proc/sys/vm/drop_caches): warm figures only.\n");
    return 0;
}
