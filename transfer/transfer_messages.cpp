#include "transfer_messages.h"

#include "code_page.h"
#include "file_io.h"

namespace junmaru::transfer::messages {
namespace {

// "reason: address", the address as the user gave it.
std::string About(const char* utf8_reason, const std::string& url) {
  return Sjis(utf8_reason) + ": " + PathForMessage(url);
}

}  // namespace

std::string HostNotFound(const std::string& url) { return About("ホストが見つかりません", url); }

std::string ConnectionRefused(const std::string& url) {
  return About("接続できません（拒否されたか、サーバーが動いていません）", url);
}

std::string LoginFailed(const std::string& url, const std::string& netrc_path) {
  return About("ログインできません（ユーザー名かパスワードが違います）", url) + "\n" +
         Sjis("  ログインは ") + PathForMessage(netrc_path) +
         Sjis(" に「machine ホスト login ユーザー名 password パスワード」と書きます");
}

std::string KeyRefused(const std::string& url) {
  return About("ログインできません（SSH の鍵が受け入れられません）", url) + "\n" +
         Sjis("  ~/.ssh の鍵（パスフレーズ付きなら ssh-agent）と、サーバーの authorized_keys、アドレスのユーザー名を確かめてください");
}

std::string HostKeyUnknown(const std::string& url, const std::string& known_hosts, const std::string& keyscan) {
  return About("ホストの鍵が known_hosts にないので接続しません", url) + "\n" +
         Sjis("  鍵の指紋をホストの管理者に確かめてから、") + PathForMessage(known_hosts) +
         Sjis(" に加えてください: ") + keyscan;
}

std::string HostKeyChanged(const std::string& url, const std::string& known_hosts, const std::string& host) {
  return About("ホストの鍵が known_hosts の鍵と違うので接続しません（なりすましの恐れがあります）", url) + "\n" +
         Sjis("  鍵が正しく変わったと管理者に確かめたときだけ、ssh-keygen -R '") + host +
         Sjis("' で ") + PathForMessage(known_hosts) + Sjis(" の古い行を消してから加え直してください");
}

std::string CertificateRejected(const std::string& url, const std::string& detail) {
  return About("サーバーの証明書を検証できないので接続しません", url) + " (" + detail + ")\n" +
         Sjis("  自前の認証局の証明書なら --cacert FILE で指定してください");
}

std::string CaFileUnreadable(const std::string& path) {
  return Sjis("証明書ファイル ") + PathForMessage(path) + Sjis(" を読めません");
}

std::string FileMissing(const std::string& url) { return About("ファイルがありません", url); }
std::string FolderMissing(const std::string& url) { return About("フォルダがないか、開く権限がありません", url); }
std::string PermissionDenied(const std::string& url) { return About("権限がありません", url); }
std::string DiskFull(const std::string& url) { return About("サイトのディスクがいっぱいです", url); }

std::string TimedOut(const std::string& url, long seconds) {
  return Sjis("応答がないまま ") + std::to_string(seconds) + Sjis(" 秒たちました（--timeout）: ") + PathForMessage(url);
}

std::string ConnectionCut(const std::string& url) { return About("接続が途中で切れました", url); }

std::string TransferFailed(const std::string& url, const std::string& detail) {
  return About("転送に失敗しました", url) + " (" + detail + ")";
}

const std::string& PlainFtpWarning() {
  return Sjis("警告　ftp:// ではパスワードが暗号化されずにネットワークを流れます（ftps:// か sftp:// を勧めます）");
}

}  // namespace junmaru::transfer::messages
