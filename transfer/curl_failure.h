#pragma once

// What the user reads when a libcurl transfer fails: the system's message
// for each kind of failure, chosen from libcurl's result, the server's
// reply code and what the host key check saw.

#include <curl/curl.h>

#include <string>

#include "remote_url.h"

namespace junmaru::transfer {

enum class HostKeyVerdict { kNotChecked, kUnknown, kChanged, kKnown };

struct CurlFailure {
  CURLcode code = CURLE_OK;
  long reply = 0;                  // the FTP or HTTP reply code, 0 when none came
  HostKeyVerdict host_key = HostKeyVerdict::kNotChecked;
  bool folder = false;             // the address is a folder
  std::string detail;              // libcurl's own words, for what has no message of ours
};

// Where the credentials and keys are looked for, for the messages that
// tell how to set them up.
struct CredentialFiles {
  std::string netrc;
  std::string known_hosts;
};

std::string FailureMessage(const CurlFailure& failure, const RemoteUrl& url, const CredentialFiles& files,
                           long timeout_seconds);

}  // namespace junmaru::transfer
