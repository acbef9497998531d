#include "curl_failure.h"

#include <gtest/gtest.h>

#include "code_page.h"

namespace junmaru::transfer {
namespace {

// Each kind of failure gives its own message, naming the address.
TEST(CurlFailureTest, EveryFailureHasItsMessage) {
  struct Row {
    const char* url;
    CURLcode code;
    long reply;
    HostKeyVerdict key;
    const char* expected_start;  // UTF-8
    const char* expected_also;   // UTF-8, somewhere in the message
  };
  const Row rows[] = {
      {"ftps://nowhere.invalid/www/", CURLE_COULDNT_RESOLVE_HOST, 0, HostKeyVerdict::kNotChecked, "ホストが見つかりません: ftps://nowhere.invalid/www/", ""},
      {"sftp://h:2222/l.gz", CURLE_COULDNT_CONNECT, 0, HostKeyVerdict::kNotChecked, "接続できません", "sftp://h:2222/l.gz"},
      {"ftps://h/www/", CURLE_LOGIN_DENIED, 530, HostKeyVerdict::kNotChecked, "ログインできません（ユーザー名かパスワードが違います）", "/home/k/.netrc"},
      {"sftp://h/l", CURLE_LOGIN_DENIED, 0, HostKeyVerdict::kKnown, "ログインできません（SSH の鍵", "ssh-agent"},
      {"sftp://h:2222/l", CURLE_PEER_FAILED_VERIFICATION, 0, HostKeyVerdict::kUnknown, "ホストの鍵が known_hosts にない",
       "ssh-keyscan -p 2222 h >> /home/k/.ssh/known_hosts"},
      {"sftp://h/l", CURLE_PEER_FAILED_VERIFICATION, 0, HostKeyVerdict::kUnknown, "ホストの鍵が known_hosts にない",
       "ssh-keyscan h >> "},
      {"sftp://h:2222/l", CURLE_PEER_FAILED_VERIFICATION, 0, HostKeyVerdict::kChanged, "ホストの鍵が known_hosts の鍵と違う",
       "ssh-keygen -R '[h]:2222'"},
      {"ftps://h/www/", CURLE_PEER_FAILED_VERIFICATION, 0, HostKeyVerdict::kNotChecked, "サーバーの証明書を検証できない", "--cacert"},
      {"https://h/l", CURLE_SSL_CACERT_BADFILE, 0, HostKeyVerdict::kNotChecked, "サーバーの証明書を検証できない", "--cacert"},
      {"ftp://h/l", CURLE_REMOTE_FILE_NOT_FOUND, 550, HostKeyVerdict::kNotChecked, "ファイルがありません: ftp://h/l", ""},
      {"sftp://h/nope/", CURLE_REMOTE_FILE_NOT_FOUND, 0, HostKeyVerdict::kKnown, "フォルダがないか", "sftp://h/nope/"},
      {"ftps://h/nope/", CURLE_REMOTE_ACCESS_DENIED, 550, HostKeyVerdict::kNotChecked, "フォルダがないか", ""},
      {"sftp://h/ro/", CURLE_REMOTE_ACCESS_DENIED, 0, HostKeyVerdict::kKnown, "権限がありません: sftp://h/ro/", ""},
      {"ftps://h/www/x", CURLE_UPLOAD_FAILED, 553, HostKeyVerdict::kNotChecked, "権限がありません", ""},
      {"ftps://h/www/x", CURLE_UPLOAD_FAILED, 452, HostKeyVerdict::kNotChecked, "サイトのディスクがいっぱいです", ""},
      {"sftp://h/www/x", CURLE_REMOTE_DISK_FULL, 0, HostKeyVerdict::kKnown, "サイトのディスクがいっぱいです", ""},
      {"https://h/l", CURLE_HTTP_RETURNED_ERROR, 401, HostKeyVerdict::kNotChecked, "ログインできません", ".netrc"},
      {"https://h/l", CURLE_HTTP_RETURNED_ERROR, 404, HostKeyVerdict::kNotChecked, "ファイルがありません", ""},
      {"https://h/l", CURLE_HTTP_RETURNED_ERROR, 403, HostKeyVerdict::kNotChecked, "権限がありません", ""},
      {"ftps://h/www/x", CURLE_OPERATION_TIMEDOUT, 0, HostKeyVerdict::kNotChecked, "応答がないまま 45 秒たちました", ""},
      {"ftps://h/www/x", CURLE_SEND_ERROR, 0, HostKeyVerdict::kNotChecked, "接続が途中で切れました: ftps://h/www/x", ""},
      {"ftps://h/www/x", CURLE_FTP_WEIRD_PASV_REPLY, 0, HostKeyVerdict::kNotChecked, "転送に失敗しました", "(what libcurl said)"},
  };
  const CredentialFiles files{"/home/k/.netrc", "/home/k/.ssh/known_hosts"};
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.url) + " " + curl_easy_strerror(row.code));
    CurlFailure failure;
    failure.code = row.code;
    failure.reply = row.reply;
    failure.host_key = row.key;
    failure.folder = std::string(row.url).back() == '/';
    failure.detail = "what libcurl said";
    const std::string message = Cp932ToUtf8(FailureMessage(failure, *ParseRemoteUrl(row.url).url, files, 45));
    EXPECT_EQ(message.rfind(row.expected_start, 0), 0u) << message;
    EXPECT_NE(message.find(row.expected_also), std::string::npos) << message;
  }
}

}  // namespace
}  // namespace junmaru::transfer
