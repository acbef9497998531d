// Writes a synthetic web server access log in the combined log format on
// standard output, the same bytes for the same arguments on every machine.
//
//   gen_access_log [--lines N] [--files N] [--seed N] [--every-file]
//   gen_access_log --empty-lines N      a log line, N empty lines, a log line
//   gen_access_log --long-lines N --line-bytes B
//                                       N downloads whose paths make each line B bytes
//
// The ordinary log looks like a small download site's: --files files whose
// popularity follows a power law (the k-th most popular is fetched about
// 1/k as often as the first), mostly GET over HTTP/1.1, some HEAD and POST,
// HTTP/1.0 and HTTP/2.0, 304s and 404s, query strings, folder requests,
// crawlers, letter-case variants of a path, and paths in Shift_JIS (code
// page 932). With --every-file each file is fetched at least once: the
// first --files lines name every file once, in a scrambled order.
//
// The random numbers come from a generator of this file (splitmix64), not
// from the standard library, whose distributions differ between vendors.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <numeric>
#include <string>
#include <string_view>
#include <vector>

namespace {

class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // A number in [0, n).
  std::uint64_t Below(std::uint64_t n) { return Next() % n; }
  // A number in [0, 1).
  double Unit() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }

 private:
  std::uint64_t state_;
};

constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr const char* kExtensions[] = {"zip", "lzh", "exe", "mp3", "avi", "jpg", "gif", "png", "html", "css",
                                       "txt", "tar", "7z",  "pdf", "rar", "cgi", "pl",  "wmv", "ogg"};
constexpr const char* kFolders[] = {"dl", "files", "soft", "archive", "pub", "img", "music", "movie", "doc"};
constexpr const char* kAgents[] = {
    "Mozilla/5.0 (Windows NT 10.0; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko) Chrome/120.0 Safari/537.36",
    "Mozilla/5.0 (compatible; Googlebot/2.1; +http://www.google.com/bot.html)",
    "Mozilla/5.0 (compatible; bingbot/2.0; +http://www.bing.com/bingbot.htm)",
    "Wget/1.21.3",
    "curl/8.5.0",
    "Mozilla/5.0 (X11; Linux x86_64; rv:121.0) Gecko/20100101 Firefox/121.0",
};
// ツール, 表示 (its second byte is a backslash), ソフト, in code page 932.
constexpr const char* kSjisStems[] = {"\x83\x63\x81\x5B\x83\x8B", "\x95\x5C\x8E\xA6", "\x83\x5C\x83\x74\x83\x67"};

template <class T, std::size_t N>
const T& Pick(Random& random, const T (&items)[N]) {
  return items[random.Below(N)];
}

std::vector<std::string> MakePaths(Random& random, std::size_t count) {
  std::vector<std::string> paths;
  paths.reserve(count);
  char stem[32];
  for (std::size_t i = 0; i < count; ++i) {
    std::string path;
    const std::uint64_t depth = 1 + random.Below(3);
    for (std::uint64_t d = 0; d < depth; ++d) (path += '/') += Pick(random, kFolders);
    path += '/';
    if (i % 97 == 0) {
      path += Pick(random, kSjisStems);
      std::snprintf(stem, sizeof stem, "%zu", i);
    } else {
      std::snprintf(stem, sizeof stem, "file%05zu", i);
    }
    (path += stem) += '.';
    path += Pick(random, kExtensions);
    paths.push_back(std::move(path));
  }
  return paths;
}

// Draws file numbers with probability proportional to 1 / (k + 1).
class PowerLaw {
 public:
  explicit PowerLaw(std::size_t count) : cumulative_(count) {
    double sum = 0;
    for (std::size_t k = 0; k < count; ++k) cumulative_[k] = sum += 1.0 / static_cast<double>(k + 1);
  }
  std::size_t Draw(Random& random) const {
    const double target = random.Unit() * cumulative_.back();
    const auto it = std::upper_bound(cumulative_.begin(), cumulative_.end(), target);
    return std::min<std::size_t>(static_cast<std::size_t>(it - cumulative_.begin()), cumulative_.size() - 1);
  }

 private:
  std::vector<double> cumulative_;
};

class Output {
 public:
  ~Output() { Flush(); }
  void Write(std::string_view bytes) {
    buffer_.append(bytes);
    if (buffer_.size() >= (1u << 20)) Flush();
  }
  void Flush() {
    if (!buffer_.empty() && std::fwrite(buffer_.data(), 1, buffer_.size(), stdout) != buffer_.size()) {
      std::perror("gen_access_log");
      std::exit(1);
    }
    buffer_.clear();
  }

 private:
  std::string buffer_;
};

// One line of the log, with its line break.
class LineWriter {
 public:
  explicit LineWriter(std::uint64_t seed) : random_(seed) {}

  // A request for path, now and then varied (letter case, a query, its
  // folder, the method, the protocol); a plain one is a GET over HTTP/1.1
  // of the path as given.
  std::string Line(std::string path, bool plain = false) {
    second_ += random_.Below(4);
    if (second_ >= 86400) {
      second_ -= 86400;
      if (++day_ > 28) {
        day_ = 1;
        month_ = (month_ + 1) % 12;
      }
    }
    const double shape = plain ? 1.0 : random_.Unit();
    if (shape < 0.03) {
      for (char& c : path)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    } else if (shape < 0.05) {
      path += "?ref=" + std::to_string(1 + random_.Below(99));
    } else if (shape < 0.08) {
      path.erase(path.rfind('/') + 1);
    }
    const double method = plain ? 1.0 : random_.Unit();
    const char* verb = method < 0.04 ? "HEAD" : method < 0.06 ? "POST" : "GET";
    const double proto = plain ? 0.0 : random_.Unit();
    const char* version = proto < 0.80 ? "HTTP/1.1" : proto < 0.92 ? "HTTP/1.0" : "HTTP/2.0";
    const double status = random_.Unit();
    const char* code = status < 0.80 ? "200" : status < 0.85 ? "206" : status < 0.95 ? "304" : "404";
    char head[96];
    std::snprintf(head, sizeof head, "%u.%u.%u.%u - - [%02d/%s/2024:%02d:%02d:%02d +0900] \"",
                  static_cast<unsigned>(1 + random_.Below(223)), static_cast<unsigned>(random_.Below(256)),
                  static_cast<unsigned>(random_.Below(256)), static_cast<unsigned>(1 + random_.Below(254)), day_,
                  kMonths[month_], second_ / 3600, second_ / 60 % 60, second_ % 60);
    char tail[64];
    std::snprintf(tail, sizeof tail, "\" %s %llu \"", code,
                  static_cast<unsigned long long>(200 + random_.Below(5000000)));
    std::string line = head;
    ((((line += verb) += ' ') += path) += ' ') += version;
    line += tail;
    line += random_.Below(2) ? "-" : "http://example.jp/index.html";
    ((line += "\" \"") += Pick(random_, kAgents)) += "\"\n";
    return line;
  }

 private:
  Random random_;
  int second_ = 0, day_ = 1, month_ = 0;
};

[[noreturn]] void Usage() {
  std::fputs(
      "usage: gen_access_log [--lines N] [--files N] [--seed N] [--every-file]\n"
      "       gen_access_log --empty-lines N [--seed N]\n"
      "       gen_access_log --long-lines N --line-bytes B [--seed N]\n",
      stderr);
  std::exit(2);
}

}  // namespace

int main(int argc, char** argv) {
  std::uint64_t lines = 100000, files = 3000, seed = 1, empty_lines = 0, long_lines = 0, line_bytes = 0;
  bool every_file = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    auto number = [&]() -> std::uint64_t {
      if (i + 1 >= argc) Usage();
      char* end = nullptr;
      const unsigned long long value = std::strtoull(argv[++i], &end, 10);
      if (*end != '\0') Usage();
      return value;
    };
    if (arg == "--lines") lines = number();
    else if (arg == "--files") files = number();
    else if (arg == "--seed") seed = number();
    else if (arg == "--empty-lines") empty_lines = number();
    else if (arg == "--long-lines") long_lines = number();
    else if (arg == "--line-bytes") line_bytes = number();
    else if (arg == "--every-file") every_file = true;
    else Usage();
  }
  if (files == 0) Usage();

  Random random(seed);
  LineWriter writer(seed ^ 0x5EED);
  Output out;
  if (empty_lines > 0) {
    out.Write(writer.Line("/dl/first.zip", true));
    const std::string block(1 << 16, '\n');
    for (std::uint64_t left = empty_lines; left > 0;) {
      const std::uint64_t n = std::min<std::uint64_t>(left, block.size());
      out.Write(std::string_view(block).substr(0, n));
      left -= n;
    }
    out.Write(writer.Line("/dl/last.zip", true));
    return 0;
  }
  if (long_lines > 0) {
    const std::size_t ordinary = writer.Line("/dl/a.zip", true).size() - std::strlen("/dl/a.zip");
    const std::size_t path_bytes = line_bytes > ordinary + 16 ? line_bytes - ordinary : 16;
    for (std::uint64_t n = 0; n < long_lines; ++n) {
      // Two distinct long paths, so the ranking holds both.
      std::string path = "/dl/" + std::string(path_bytes - 12, n % 2 ? 'b' : 'a');
      path.resize(path_bytes - 4, 'x');
      path += ".zip";
      out.Write(writer.Line(std::move(path), true));
    }
    return 0;
  }

  const std::vector<std::string> paths = MakePaths(random, files);
  const PowerLaw popularity(files);
  // A step coprime with files walks every file once in a scrambled order.
  std::uint64_t step = files / 2 + 1;
  while (std::gcd(step, files) != 1) ++step;
  for (std::uint64_t n = 0; n < lines; ++n) {
    const std::size_t file = every_file && n < files ? (n * step) % files : popularity.Draw(random);
    out.Write(writer.Line(paths[file]));
  }
  return 0;
}
