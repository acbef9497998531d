#pragma once

// The Remote that speaks to real servers, through libcurl: FTP, FTP with
// explicit TLS, SFTP and HTTPS. Logins come from the user's netrc file
// (FTP, HTTPS) and SSH keys or agent (SFTP), never from the command line;
// an SFTP host must be in known_hosts; certificates are verified against
// the system's store or the given CA file. One connection per server is
// kept open across the calls.

#include <memory>
#include <string>

#include "remote.h"

namespace junmaru::transfer {

struct CurlSetup {
  std::string ca_file;        // certificates to trust instead of the system's; empty for those
  long timeout_seconds = 60;  // for a connection, and for a transfer that stops moving
  std::string home;           // holds the netrc file and .ssh/
  std::string user_name;      // the SFTP login when the address names none
};

class CurlRemote : public Remote {
 public:
  explicit CurlRemote(CurlSetup setup);
  ~CurlRemote() override;

  std::string Fetch(const RemoteUrl& file, TransferProgress& progress) override;
  std::vector<std::string> List(const RemoteUrl& folder) override;
  void Upload(const RemoteUrl& file, const RemoteUrl& shown_as, std::string_view bytes,
              TransferProgress& progress) override;
  void Rename(const RemoteUrl& folder, const std::string& from, const std::string& to) override;
  void Remove(const RemoteUrl& folder, const std::string& name) override;

 private:
  class Request;
  // Runs quote commands (FTP or SFTP) with the folder as their place;
  // messages name the file shown_as.
  void Command(const RemoteUrl& folder, const RemoteUrl& shown_as, const std::vector<std::string>& commands);

  CurlSetup setup_;
  void* handle_;  // one easy handle, so that connections are kept between calls
};

}  // namespace junmaru::transfer
