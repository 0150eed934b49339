// Runs a fuzz target over saved inputs without libFuzzer, so that the seeds and every crash
// kept in fuzz/corpus/ are ordinary tests of the GCC builds. Each argument is a file, or a folder
// whose files are all run, in name order so that a failure is the same one on every machine.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> InputsOf(const fs::path& argument)
{
    if (!fs::is_directory(argument)) {
        return {argument};
    }
    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(argument)) {
        if (entry.is_regular_file()) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

bool Replay(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", file.string().c_str());
        return false;
    }
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                  std::istreambuf_iterator<char>()};
    // The target sees a buffer of exactly the input's size, as under libFuzzer, so that the
    // sanitizers catch a read past its end.
    const auto copy = std::make_unique<std::uint8_t[]>(bytes.size());
    std::copy(bytes.begin(), bytes.end(), copy.get());
    std::printf("%s\n", file.string().c_str());
    std::fflush(stdout);
    LLVMFuzzerTestOneInput(copy.get(), bytes.size());
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    int replayed = 0;
    for (int i = 1; i < argc; ++i) {
        for (const fs::path& file : InputsOf(argv[i])) {
            if (!Replay(file)) {
                return 1;
            }
            ++replayed;
        }
    }
    std::printf("%d inputs replayed\n", replayed);
    // No inputs at all is a broken test setup, not a pass.
    return replayed > 0 ? 0 : 1;
}
