#pragma once

// The transfers' messages, in code page 932. Each names the address as
// given (addresses never hold a password).

#include <string>

namespace junmaru::transfer::messages {

std::string HostNotFound(const std::string& url);        // ホストが見つかりません: %s
std::string ConnectionRefused(const std::string& url);   // 接続できません（拒否されたか、サーバーが動いていません）: %s
std::string LoginFailed(const std::string& url, const std::string& netrc_path);  // ログインできません …: %s
std::string KeyRefused(const std::string& url);          // ログインできません（SSH の鍵が受け入れられません）…
std::string HostKeyUnknown(const std::string& url, const std::string& known_hosts, const std::string& keyscan);
std::string HostKeyChanged(const std::string& url, const std::string& known_hosts, const std::string& host);
std::string CertificateRejected(const std::string& url, const std::string& detail);
std::string CaFileUnreadable(const std::string& path);   // 証明書ファイル %s を読めません
std::string FileMissing(const std::string& url);         // ファイルがありません: %s
std::string FolderMissing(const std::string& url);       // フォルダがないか、開く権限がありません: %s
std::string PermissionDenied(const std::string& url);    // 権限がありません: %s
std::string DiskFull(const std::string& url);            // サイトのディスクがいっぱいです: %s
std::string TimedOut(const std::string& url, long seconds);  // 応答がないまま %d 秒たちました: %s
std::string ConnectionCut(const std::string& url);       // 接続が途中で切れました: %s
std::string TransferFailed(const std::string& url, const std::string& detail);  // 転送に失敗しました: %s (%s)
const std::string& PlainFtpWarning();  // 警告 ftp:// ではパスワードが暗号化されずに…

}  // namespace junmaru::transfer::messages
