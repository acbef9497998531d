#include "curl_remote.h"

#include <curl/curl.h>

#include <algorithm>
#include <new>
#include <random>

#include "curl_failure.h"
#include "error.h"
#include "file_io.h"
#include "user_home.h"

namespace junmaru::transfer {
namespace {

void InitCurlOnce() {
  static const CURLcode init = curl_global_init(CURL_GLOBAL_DEFAULT);
  (void)init;
}

CredentialFiles FilesIn(const std::string& home) {
  return {PathInFolder(home, kNetrcName), PathInFolder(PathInFolder(home, ".ssh"), "known_hosts")};
}

// The first of the user's usual private keys that exists.
std::string PrivateKeyIn(const std::string& home) {
  for (const char* name : {"id_ed25519", "id_ecdsa", "id_rsa"}) {
    const std::string path = PathInFolder(PathInFolder(home, ".ssh"), name);
    if (FileExists(path)) return path;
  }
  return {};
}

// A path inside an SFTP quote command: quoted, with its quotes and
// backslashes escaped.
std::string SftpQuoted(const std::string& path) {
  std::string quoted = "\"";
  for (char c : path) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

std::string InFolder(const RemoteUrl& folder, const std::string& name) {
  return folder.path.empty() || folder.path.back() != '/' ? folder.path + "/" + name : folder.path + name;
}

}  // namespace

// One call's settings on the shared handle, and its outcome.
class CurlRemote::Request {
 public:
  // url is where the call goes; messages name shown_as.
  Request(CurlRemote& owner, const RemoteUrl& url, const RemoteUrl& shown_as)
      : owner_(owner), shown_as_(shown_as), curl_(owner.handle_) {
    curl_easy_reset(curl_);
    error_[0] = '\0';
    const CurlSetup& setup = owner.setup_;
    const std::string address = url.ForCurl();
    Set(CURLOPT_URL, address.c_str());
    Set(CURLOPT_PROTOCOLS_STR, "ftp,sftp,https");
    Set(CURLOPT_REDIR_PROTOCOLS_STR, "https");
    Set(CURLOPT_ERRORBUFFER, error_);
    Set(CURLOPT_NOSIGNAL, 1L);
    Set(CURLOPT_CONNECTTIMEOUT, setup.timeout_seconds);
    Set(CURLOPT_SERVER_RESPONSE_TIMEOUT, setup.timeout_seconds);
    Set(CURLOPT_LOW_SPEED_LIMIT, 1L);
    Set(CURLOPT_LOW_SPEED_TIME, setup.timeout_seconds);
    if (!setup.ca_file.empty()) Set(CURLOPT_CAINFO, setup.ca_file.c_str());
#ifdef _WIN32
    // Schannel gives up on a certificate whose revocation list it cannot
    // reach; the chain and the name are still checked.
    Set(CURLOPT_SSL_OPTIONS, static_cast<long>(CURLSSLOPT_REVOKE_BEST_EFFORT));
#endif
    const CredentialFiles files = FilesIn(setup.home);
    if (url.scheme == Scheme::kSftp) {
      Set(CURLOPT_NETRC, static_cast<long>(CURL_NETRC_IGNORED));
      if (url.user.empty() && !setup.user_name.empty()) Set(CURLOPT_USERNAME, setup.user_name.c_str());
      Set(CURLOPT_SSH_AUTH_TYPES, static_cast<long>(CURLSSH_AUTH_PUBLICKEY | CURLSSH_AUTH_AGENT));
      Set(CURLOPT_SSH_KNOWNHOSTS, files.known_hosts.c_str());
      Set(CURLOPT_SSH_KEYFUNCTION, &Request::CheckHostKey);
      Set(CURLOPT_SSH_KEYDATA, this);
      if (const std::string key = PrivateKeyIn(setup.home); !key.empty()) {
        Set(CURLOPT_SSH_PRIVATE_KEYFILE, key.c_str());
        Set(CURLOPT_SSH_PUBLIC_KEYFILE, "");
      }
    } else {
      Set(CURLOPT_NETRC, static_cast<long>(CURL_NETRC_OPTIONAL));
      Set(CURLOPT_NETRC_FILE, files.netrc.c_str());
    }
    if (url.scheme == Scheme::kFtps) Set(CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
    if (url.scheme == Scheme::kFtp || url.scheme == Scheme::kFtps)
      Set(CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_SINGLECWD));
    if (url.scheme == Scheme::kHttps) {
      Set(CURLOPT_FAILONERROR, 1L);
      Set(CURLOPT_FOLLOWLOCATION, 1L);
      Set(CURLOPT_MAXREDIRS, 5L);
    }
  }
  ~Request() {
    if (commands_ != nullptr) curl_slist_free_all(commands_);
  }

  template <typename T>
  void Set(CURLoption option, T value) {
    curl_easy_setopt(curl_, option, value);
  }

  void Watch(TransferProgress& progress, bool upload) {
    progress_ = &progress;
    upload_ = upload;
    Set(CURLOPT_NOPROGRESS, 0L);
    Set(CURLOPT_XFERINFOFUNCTION, &Request::OnProgress);
    Set(CURLOPT_XFERINFODATA, this);
  }

  void Commands(CURLoption when, const std::vector<std::string>& commands) {
    for (const std::string& command : commands) commands_ = curl_slist_append(commands_, command.c_str());
    Set(when, commands_);
  }

  // Runs the call; throws the system's message when it fails.
  void Perform() {
    const CURLcode code = curl_easy_perform(curl_);
    if (code == CURLE_OK) return;
    if (out_of_memory_) throw std::bad_alloc();
    CurlFailure failure;
    failure.code = code;
    curl_easy_getinfo(curl_, CURLINFO_RESPONSE_CODE, &failure.reply);
    failure.host_key = host_key_;
    failure.folder = shown_as_.IsFolder();
    failure.detail = error_[0] != '\0' ? error_ : curl_easy_strerror(code);
    if (!failure.detail.empty() && failure.detail.back() == '\n') failure.detail.pop_back();
    throw Error(FailureMessage(failure, shown_as_, FilesIn(owner_.setup_.home), owner_.setup_.timeout_seconds));
  }

  void ReceiveInto(std::string& out) {
    sink_ = &out;
    Set(CURLOPT_WRITEFUNCTION, &Request::OnData);
    Set(CURLOPT_WRITEDATA, this);
  }

  void SendFrom(std::string_view bytes) {
    source_ = bytes;
    Set(CURLOPT_UPLOAD, 1L);
    Set(CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(bytes.size()));
    Set(CURLOPT_READFUNCTION, &Request::OnRead);
    Set(CURLOPT_READDATA, this);
  }

 private:
  static size_t OnData(char* data, size_t size, size_t count, void* self_pointer) {
    auto* self = static_cast<Request*>(self_pointer);
    try {
      self->sink_->append(data, size * count);
    } catch (const std::bad_alloc&) {
      self->out_of_memory_ = true;
      return 0;
    }
    return size * count;
  }

  static size_t OnRead(char* buffer, size_t size, size_t count, void* self_pointer) {
    auto* self = static_cast<Request*>(self_pointer);
    const std::size_t n = std::min(size * count, self->source_.size());
    std::copy_n(self->source_.data(), n, buffer);
    self->source_.remove_prefix(n);
    return n;
  }

  static int OnProgress(void* self_pointer, curl_off_t down_total, curl_off_t down_now, curl_off_t up_total,
                        curl_off_t up_now) {
    auto* self = static_cast<Request*>(self_pointer);
    if (self->upload_)
      self->progress_->Advance(static_cast<std::uint64_t>(up_now), static_cast<std::uint64_t>(up_total));
    else
      self->progress_->Advance(static_cast<std::uint64_t>(down_now), static_cast<std::uint64_t>(down_total));
    return 0;
  }

  // Only a key that known_hosts holds for this host is taken; what the
  // check saw chooses the message.
  static int CheckHostKey(CURL*, const curl_khkey*, const curl_khkey*, curl_khmatch match, void* self_pointer) {
    auto* self = static_cast<Request*>(self_pointer);
    self->host_key_ = match == CURLKHMATCH_OK       ? HostKeyVerdict::kKnown
                      : match == CURLKHMATCH_MISMATCH ? HostKeyVerdict::kChanged
                                                      : HostKeyVerdict::kUnknown;
    return match == CURLKHMATCH_OK ? CURLKHSTAT_FINE : CURLKHSTAT_REJECT;
  }

  CurlRemote& owner_;
  const RemoteUrl& shown_as_;
  CURL* curl_;
  char error_[CURL_ERROR_SIZE];
  curl_slist* commands_ = nullptr;
  TransferProgress* progress_ = nullptr;
  bool upload_ = false;
  std::string* sink_ = nullptr;
  std::string_view source_;
  bool out_of_memory_ = false;
  HostKeyVerdict host_key_ = HostKeyVerdict::kNotChecked;
};

CurlRemote::CurlRemote(CurlSetup setup) : setup_(std::move(setup)) {
  InitCurlOnce();
  handle_ = curl_easy_init();
  if (handle_ == nullptr) throw std::bad_alloc();
}

CurlRemote::~CurlRemote() { curl_easy_cleanup(handle_); }

std::string CurlRemote::Fetch(const RemoteUrl& file, TransferProgress& progress) {
  std::string bytes;
  Request request(*this, file, file);
  request.Watch(progress, false);
  request.ReceiveInto(bytes);
  request.Perform();
  return bytes;
}

std::vector<std::string> CurlRemote::List(const RemoteUrl& folder) {
  std::string listing;
  Request request(*this, folder, folder);
  request.Set(CURLOPT_DIRLISTONLY, 1L);
  request.ReceiveInto(listing);
  request.Perform();
  std::vector<std::string> names;
  std::size_t start = 0;
  while (start < listing.size()) {
    std::size_t end = listing.find('\n', start);
    if (end == std::string::npos) end = listing.size();
    std::string name = listing.substr(start, end - start);
    if (!name.empty() && name.back() == '\r') name.pop_back();
    // Some FTP servers answer with the folder before each name.
    if (const std::size_t slash = name.rfind('/'); slash != std::string::npos) name.erase(0, slash + 1);
    if (!name.empty() && name != "." && name != "..") names.push_back(std::move(name));
    start = end + 1;
  }
  return names;
}

void CurlRemote::Upload(const RemoteUrl& file, const RemoteUrl& shown_as, std::string_view bytes,
                        TransferProgress& progress) {
  Request request(*this, file, shown_as);
  request.Watch(progress, true);
  request.SendFrom(bytes);
  request.Perform();
}

void CurlRemote::Command(const RemoteUrl& folder, const RemoteUrl& shown_as, const std::vector<std::string>& commands) {
  Request request(*this, folder, shown_as);
  request.Set(CURLOPT_NOBODY, 1L);
  // FTP commands run after the folder is entered; SFTP commands carry
  // whole paths.
  request.Commands(folder.scheme == Scheme::kSftp ? CURLOPT_QUOTE : CURLOPT_POSTQUOTE, commands);
  request.Perform();
}

void CurlRemote::Rename(const RemoteUrl& folder, const std::string& from, const std::string& to) {
  const RemoteUrl shown = folder.Child(to);
  if (folder.scheme != Scheme::kSftp) {
    Command(folder, shown, {"RNFR " + from, "RNTO " + to});
    return;
  }
  const std::string target = SftpQuoted(InFolder(folder, to));
  try {
    Command(folder, shown, {"rename " + SftpQuoted(InFolder(folder, from)) + " " + target});
    return;
  } catch (const Error&) {
    // OpenSSH's server, like every SFTP version 3 server, will not rename
    // over an existing file. The old file steps aside under a name of its
    // own, the new one takes its place, and only then is the old one
    // removed; should the second step fail, the old file comes back.
    const std::vector<std::string> names = List(folder);
    if (std::find(names.begin(), names.end(), to) == names.end()) throw;
  }
  static std::mt19937_64 random{std::random_device{}()};
  const std::string aside = SftpQuoted(InFolder(folder, ".junmaru-old-" + std::to_string(random() % 1000000000) + "-" + to));
  Command(folder, shown, {"rename " + target + " " + aside});
  try {
    Command(folder, shown, {"rename " + SftpQuoted(InFolder(folder, from)) + " " + target});
  } catch (const Error&) {
    try {
      Command(folder, shown, {"rename " + aside + " " + target});
    } catch (const Error&) {
    }
    throw;
  }
  try {
    Command(folder, shown, {"rm " + aside});
  } catch (const Error&) {
  }
}

void CurlRemote::Remove(const RemoteUrl& folder, const std::string& name) {
  const RemoteUrl shown = folder.Child(name);
  if (folder.scheme == Scheme::kSftp)
    Command(folder, shown, {"rm " + SftpQuoted(InFolder(folder, name))});
  else
    Command(folder, shown, {"DELE " + name});
}

}  // namespace junmaru::transfer
