#pragma once

// Where a log is fetched from or a page published to: an ftp://, ftps://
// (FTP with explicit TLS), sftp:// or https:// address.

#include <optional>
#include <string>
#include <string_view>

namespace junmaru::transfer {

enum class Scheme { kFtp, kFtps, kSftp, kHttps };

struct RemoteUrl {
  Scheme scheme = Scheme::kFtp;
  std::string text;  // as given; it never holds a password
  std::string host;
  long port = 0;     // 0: the scheme's own
  std::string user;  // empty when the address names none
  std::string path;  // the path on the server, decoded ("/" for the top)

  // A folder's address ends in "/".
  bool IsFolder() const { return !text.empty() && text.back() == '/'; }
  // The last part of the path, decoded ("" for a folder).
  std::string Name() const;
  // The address of the file name inside this folder.
  RemoteUrl Child(const std::string& name) const;
  // The address with the scheme libcurl knows it by: ftps:// is FTP that
  // turns to TLS on the usual port (libcurl's own ftps:// is implicit TLS).
  std::string ForCurl() const;
};

// True when text is an address rather than a file path ("scheme://...").
bool LooksLikeUrl(std::string_view text);

struct ParsedUrl {
  std::optional<RemoteUrl> url;
  std::string problem;  // why it was refused, in English, for the usage line
};

// Reads an address. Refused: another scheme, no host, and a password in
// the address (passwords belong in .netrc, never on a command line).
ParsedUrl ParseRemoteUrl(const std::string& text);

}  // namespace junmaru::transfer
