#include "curl_failure.h"

#include "transfer_messages.h"

namespace junmaru::transfer {
namespace {

// The ssh-keyscan line that adds the host's keys, port and all.
std::string KeyscanLine(const RemoteUrl& url, const std::string& known_hosts) {
  const std::string port = url.port != 0 && url.port != 22 ? "-p " + std::to_string(url.port) + " " : "";
  return "ssh-keyscan " + port + url.host + " >> " + known_hosts;
}

// The host as known_hosts names it: "[host]:port" off port 22.
std::string KnownHostsName(const RemoteUrl& url) {
  return url.port != 0 && url.port != 22 ? "[" + url.host + "]:" + std::to_string(url.port) : url.host;
}

}  // namespace

std::string FailureMessage(const CurlFailure& failure, const RemoteUrl& url, const CredentialFiles& files,
                           long timeout_seconds) {
  namespace m = messages;
  const std::string& where = url.text;
  const bool sftp = url.scheme == Scheme::kSftp;
  switch (failure.code) {
    case CURLE_COULDNT_RESOLVE_HOST:
      return m::HostNotFound(where);
    case CURLE_COULDNT_CONNECT:
      return m::ConnectionRefused(where);
    case CURLE_OPERATION_TIMEDOUT:
      return m::TimedOut(where, timeout_seconds);
    case CURLE_LOGIN_DENIED:
      return sftp ? m::KeyRefused(where) : m::LoginFailed(where, files.netrc);
    case CURLE_PEER_FAILED_VERIFICATION:
      if (!sftp) return m::CertificateRejected(where, failure.detail);
      if (failure.host_key == HostKeyVerdict::kChanged) return m::HostKeyChanged(where, files.known_hosts, KnownHostsName(url));
      return m::HostKeyUnknown(where, files.known_hosts, KeyscanLine(url, files.known_hosts));
    case CURLE_SSL_CACERT_BADFILE:
      return m::CertificateRejected(where, failure.detail);
    case CURLE_REMOTE_FILE_NOT_FOUND:
      return failure.folder ? m::FolderMissing(where) : m::FileMissing(where);
    case CURLE_REMOTE_ACCESS_DENIED:
      // FTP refuses to enter the folder the same way whether it is missing
      // or closed to the user.
      return sftp ? m::PermissionDenied(where) : m::FolderMissing(where);
    case CURLE_REMOTE_DISK_FULL:
      return m::DiskFull(where);
    case CURLE_UPLOAD_FAILED:
    case CURLE_QUOTE_ERROR:
      if (failure.reply == 452 || failure.reply == 552) return m::DiskFull(where);
      if (failure.reply == 450 || failure.reply == 550 || failure.reply == 553 || failure.reply == 532)
        return m::PermissionDenied(where);
      return m::TransferFailed(where, failure.detail);
    case CURLE_HTTP_RETURNED_ERROR:
      if (failure.reply == 401) return m::LoginFailed(where, files.netrc);
      if (failure.reply == 403) return m::PermissionDenied(where);
      if (failure.reply == 404 || failure.reply == 410) return m::FileMissing(where);
      return m::TransferFailed(where, failure.detail);
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_PARTIAL_FILE:
    case CURLE_GOT_NOTHING:
      return m::ConnectionCut(where);
    default:
      return m::TransferFailed(where, failure.detail);
  }
}

}  // namespace junmaru::transfer
