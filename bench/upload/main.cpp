// bench_upload [RECORDS] [instant|reply|byte ...]
//
// Uploads RECORDS (default 1,000) records of 3 fields from pdx-sim at 38,400 bit/s and prints
// the time of the block transfer against the wire time of the bytes it exchanges (10 bits a
// byte), first with every reply delivered at once after its wire time, then byte by byte.
//
// Measured on the 2-core build machine: replies at once 8.1 s for 7.6 s of wire time (1.07 x);
// byte by byte 289 s (38 x). Byte by byte, the read of a block's data returns with the first
// byte that has arrived, and the read-back then pauses a tenth of a second before reading the
// rest: about 0.1 s for each of the 3,001 blocks, whatever the block's length.
#include "MessageLog.h"
#include "pdxProDevice.h"
#include "pdxRemoteModeSession.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr double kBitsPerSecond = 38400.0;

struct Field {
    std::string text;
};

pid_t startSim(const std::string& folder, const std::string& pace, const std::string& records) {
    int out[2];
    if (pipe(out) != 0)
        return -1;
    pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        std::string link = folder + "tty.SLAB_USBtoUART";
        execl(PDX_SIM_PATH, PDX_SIM_PATH, "--link", link.c_str(), "--records", records.c_str(), "--pace",
              pace.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(out[1]);
    char buffer[256] = {0};
    struct pollfd poller = {out[0], POLLIN, 0};
    if (poll(&poller, 1, 10000) <= 0 || read(out[0], buffer, sizeof buffer - 1) <= 0) {
        close(out[0]);
        return -1;
    }
    close(out[0]);
    return pid;
}

void stopSim(pid_t pid) {
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
}

// Bytes on the line during the upload: begin and its acknowledgement, the upload command and
// its acknowledgement, the header request and block, a request and a block per field, and the
// closing request and acknowledgement.
long wireBytes(const std::vector<std::vector<std::string>>& records) {
    long bytes = 2 + 6 + 1 + (1 + 12 + 1) + 2;
    for (const auto& record : records) {
        for (const std::string& field : record)
            bytes += 1 + 1 + static_cast<long>(field.size()) + 1;
    }
    return bytes;
}

bool run(const std::string& folder, const std::string& pace, const std::string& recordsFile,
         const std::vector<std::vector<std::string>>& records) {
    pid_t sim = startSim(folder, pace, recordsFile);
    if (sim <= 0) {
        fprintf(stdout, "%s: pdx-sim did not start\n", pace.c_str());
        return false;
    }
    pdxProDevice device;
    device.SetBsdPathName((folder + "tty.SLAB_USBtoUART").c_str());
    pdxRemoteModeSession session(device);
    bool ok = session.Enter(30) && device.GetSystemInfoCmd();
    double seconds = 0;
    if (ok) {
        barcodeDataFileMgr& file = device.BarcodeFileMgr();
        file.setFileName((folder + "BarcodeDataSource." + pace + ".txt").c_str());
        file.createOutputFileWithHeader();
        auto start = std::chrono::steady_clock::now();
        ok = file.is_open() && device.GetUploadDataFromPDXCmd(pdxProDevice::ePdxFormFileNum_1);
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        file.close();
    }
    session.Leave();
    stopSim(sim);
    long bytes = wireBytes(records);
    double wire = bytes * 10.0 / kBitsPerSecond;
    fprintf(stdout,
            "%-8s %s: %zu records, %ld bytes exchanged, wire time %.2f s, upload %.2f s, %.2f x wire time\n",
            pace.c_str(), ok ? "ok    " : "FAILED", records.size(), bytes, wire, seconds, seconds / wire);
    fflush(stdout);
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    int count = argc > 1 ? std::atoi(argv[1]) : 1000;
    std::vector<std::string> paces;
    for (int i = 2; i < argc; ++i)
        paces.push_back(argv[i]);
    if (paces.empty())
        paces = {"reply", "byte"};
    char pattern[] = "/tmp/bench-upload-XXXXXX";
    if (!mkdtemp(pattern))
        return 1;
    std::string folder = std::string(pattern) + "/";
    std::vector<std::vector<std::string>> records;
    std::ofstream file(folder + "records.txt");
    for (int i = 0; i < count; ++i) {
        char barcode[16], time[16];
        snprintf(barcode, sizeof barcode, "S%07d", i + 1);
        snprintf(time, sizeof time, "%02d%02d%02d", 8 + i / 3600 % 12, i / 60 % 60, i % 60);
        records.push_back({barcode, "121026", time});
        file << barcode << '\t' << "121026" << '\t' << time << '\n';
    }
    file.close();
    // The log's copy of every protocol line goes to standard error; keep the figures readable.
    int null = open("/dev/null", O_WRONLY);
    if (null >= 0)
        dup2(null, STDERR_FILENO);
    bool ok = true;
    for (const std::string& pace : paces)
        ok = run(folder, pace, folder + "records.txt", records) && ok;
    std::system(("rm -rf '" + folder + "'").c_str());
    return ok ? 0 : 1;
}
