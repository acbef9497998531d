#include "remote_url.h"

#include <curl/curl.h>

#include <memory>

namespace junmaru::transfer {
namespace {

struct UrlDeleter {
  void operator()(CURLU* url) const { curl_url_cleanup(url); }
};
struct TextDeleter {
  void operator()(char* text) const { curl_free(text); }
};

// One part of a parsed address, decoded; empty when it has none.
std::string Part(CURLU* url, CURLUPart part, unsigned flags = CURLU_URLDECODE) {
  char* raw = nullptr;
  if (curl_url_get(url, part, &raw, flags) != CURLUE_OK || raw == nullptr) return {};
  std::unique_ptr<char, TextDeleter> owned(raw);
  return raw;
}

std::string Escaped(const std::string& name) {
  std::unique_ptr<char, TextDeleter> escaped(curl_easy_escape(nullptr, name.data(), static_cast<int>(name.size())));
  return escaped ? std::string(escaped.get()) : name;
}

}  // namespace

bool LooksLikeUrl(std::string_view text) {
  const std::size_t colon = text.find("://");
  if (colon == std::string_view::npos || colon == 0) return false;
  for (char c : text.substr(0, colon))
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'))
      return false;
  return true;
}

ParsedUrl ParseRemoteUrl(const std::string& text) {
  ParsedUrl parsed;
  std::unique_ptr<CURLU, UrlDeleter> url(curl_url());
  if (!url || curl_url_set(url.get(), CURLUPART_URL, text.c_str(), CURLU_NON_SUPPORT_SCHEME) != CURLUE_OK) {
    parsed.problem = "'" + text + "' is not an address";
    return parsed;
  }
  RemoteUrl remote;
  const std::string scheme = Part(url.get(), CURLUPART_SCHEME, 0);
  if (scheme == "ftp") {
    remote.scheme = Scheme::kFtp;
  } else if (scheme == "ftps") {
    remote.scheme = Scheme::kFtps;
  } else if (scheme == "sftp") {
    remote.scheme = Scheme::kSftp;
  } else if (scheme == "https") {
    remote.scheme = Scheme::kHttps;
  } else {
    parsed.problem = "'" + text + "': only ftp://, ftps://, sftp:// and https:// addresses are read";
    return parsed;
  }
  char* password = nullptr;
  if (curl_url_get(url.get(), CURLUPART_PASSWORD, &password, 0) == CURLUE_OK && password != nullptr) {
    curl_free(password);
    parsed.problem = "a password does not belong in an address: put the login in ~/.netrc (or use SSH keys)";
    return parsed;
  }
  remote.host = Part(url.get(), CURLUPART_HOST, 0);
  if (remote.host.empty()) {
    parsed.problem = "'" + text + "' names no host";
    return parsed;
  }
  const std::string port = Part(url.get(), CURLUPART_PORT, 0);
  remote.port = port.empty() ? 0 : std::stol(port);
  remote.user = Part(url.get(), CURLUPART_USER);
  remote.path = Part(url.get(), CURLUPART_PATH);
  if (remote.path.empty()) remote.path = "/";
  remote.text = text;
  parsed.url = std::move(remote);
  return parsed;
}

std::string RemoteUrl::Name() const {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

RemoteUrl RemoteUrl::Child(const std::string& name) const {
  RemoteUrl child = *this;
  const std::string folder_text = IsFolder() ? text : text + "/";
  const std::string folder_path = path.empty() || path.back() != '/' ? path + "/" : path;
  child.text = folder_text + Escaped(name);
  child.path = folder_path + name;
  return child;
}

std::string RemoteUrl::ForCurl() const {
  if (scheme != Scheme::kFtps) return text;
  return "ftp" + text.substr(4);
}

}  // namespace junmaru::transfer
