// Runs the inputs of a corpus through a fuzz target without libFuzzer: the
// ordinary build replays every kept input (crash inputs included) as a test.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

// The target's entry point (FuzzSupport.h); the driver itself needs no Qt.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> inputsOf(const fs::path &path)
{
    std::vector<fs::path> inputs;
    if (fs::is_directory(path)) {
        for (const fs::directory_entry &entry : fs::directory_iterator(path))
            if (entry.is_regular_file())
                inputs.push_back(entry.path());
    } else if (fs::is_regular_file(path)) {
        inputs.push_back(path);
    }
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

} // namespace

int main(int argc, char **argv)
{
    size_t replayed = 0;
    for (int i = 1; i < argc; ++i) {
        for (const fs::path &input : inputsOf(argv[i])) {
            std::ifstream in(input, std::ios::binary);
            const std::vector<char> bytes(
                (std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            if (!in.good() && !in.eof()) {
                std::fprintf(stderr, "cannot read %s\n", input.c_str());
                return 1;
            }
            std::fprintf(stderr, "replaying %s\n", input.c_str());
            // A copy of exactly the input's size, as libFuzzer passes it.
            const std::vector<uint8_t> data(bytes.begin(), bytes.end());
            LLVMFuzzerTestOneInput(data.data(), data.size());
            ++replayed;
        }
    }
    // An empty or missing corpus would let the test pass without running.
    if (replayed == 0) {
        std::fprintf(stderr, "no inputs found\n");
        return 1;
    }
    std::fprintf(stderr, "replayed %zu inputs\n", replayed);
    return 0;
}
