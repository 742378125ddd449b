// SPDX-License-Identifier: GPL-3.0-or-later
// A main for the fuzz targets without libFuzzer: runs LLVMFuzzerTestOneInput once on every
// file of the saved corpus folders it is given, so that an input once found stays fixed in
// every build, the sanitizer build included.
//
//   <target>_fuzzer CORPUS_FOLDER...
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

// The files of a folder in name order, so that every run replays them in the same order.
std::vector<fs::path> CorpusFiles(const fs::path& folder, std::error_code& error) {
  std::vector<fs::path> files;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    if (it->is_regular_file()) {
      files.push_back(it->path());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

// Runs the target on one input held in a buffer of exactly its size, as libFuzzer does, so
// that the address sanitizer sees a read past its end.
bool Replay(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (!in.good() && !in.eof()) {
    std::cerr << "cannot read " << file.string() << "\n";
    return false;
  }
  const auto input = std::make_unique<std::uint8_t[]>(bytes.size());
  std::copy(bytes.begin(), bytes.end(), input.get());
  std::cerr << "replaying " << file.string() << "\n";
  LLVMFuzzerTestOneInput(input.get(), bytes.size());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "usage: " << argv[0] << " CORPUS_FOLDER...\n";
    return 2;
  }
  std::size_t replayed = 0;
  for (int k = 1; k < argc; ++k) {
    std::error_code error;
    const std::vector<fs::path> files = CorpusFiles(argv[k], error);
    if (error) {
      std::cerr << "cannot list the corpus " << argv[k] << ": " << error.message() << "\n";
      return 1;
    }
    // An empty or missing corpus would pass without testing anything.
    if (files.empty()) {
      std::cerr << "the corpus " << argv[k] << " holds no inputs\n";
      return 1;
    }
    for (const fs::path& file : files) {
      if (!Replay(file)) {
        return 1;
      }
      ++replayed;
    }
  }
  std::cout << "replayed " << replayed << " inputs\n";
  return 0;
}
