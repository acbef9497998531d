#pragma once

// A site held in memory: one folder of files, and faults on demand.

#include <map>
#include <string>

#include "error.h"
#include "remote.h"

namespace junmaru::transfer {

class FakeRemote : public Remote {
 public:
  std::map<std::string, std::string> files;
  int uploads_before_failure = -1;  // the upload that fails (0 = the first), -1 none
  int renames_before_failure = -1;
  std::string log;  // the calls, in order

  std::string Fetch(const RemoteUrl& file, TransferProgress& progress) override {
    log += "fetch " + file.Name() + ";";
    const auto found = files.find(file.Name());
    if (found == files.end()) throw Error("missing " + file.Name());
    progress.Advance(found->second.size(), found->second.size());
    return found->second;
  }
  std::vector<std::string> List(const RemoteUrl&) override {
    log += "list;";
    std::vector<std::string> names;
    for (const auto& [name, bytes] : files) names.push_back(name);
    return names;
  }
  void Upload(const RemoteUrl& file, const RemoteUrl&, std::string_view bytes, TransferProgress&) override {
    log += "upload " + Plain(file.Name()) + ";";
    if (uploads_before_failure-- == 0) {
      files[file.Name()] = bytes.substr(0, bytes.size() / 2);  // cut in the middle
      throw Error("upload cut");
    }
    files[file.Name()] = bytes;
  }
  void Rename(const RemoteUrl&, const std::string& from, const std::string& to) override {
    log += "rename " + Plain(from) + " " + to + ";";
    if (renames_before_failure-- == 0) throw Error("rename refused");
    files[to] = files.at(from);
    files.erase(from);
  }
  void Remove(const RemoteUrl&, const std::string& name) override {
    log += "remove " + Plain(name) + ";";
    files.erase(name);
  }

  // A temporary name without its random part: ".junmaru-*-ranking.html".
  static std::string Plain(const std::string& name) {
    if (name.rfind(".junmaru-", 0) != 0) return name;
    return ".junmaru-*-" + name.substr(name.find('-', 9) + 1);
  }
};

class RecordingProgress : public TransferProgress {
 public:
  std::string seen;
  void Begin(const std::string& what) override { seen += "begin " + what + ";"; }
  void Advance(std::uint64_t, std::uint64_t) override {}
  void End() override { seen += "end;"; }
};

}  // namespace junmaru::transfer
