// Holds a log open for writing as a web server on Windows does, sharing it
// with readers only, while a test runs junmaru-batch.exe on it:
//   log_writer LOG READY STOP
// appends a line to LOG, creates the file READY, waits until the file STOP
// exists (at most a minute), appends another line and closes LOG.

#include <windows.h>

#include <cstring>

namespace {

bool Append(HANDLE log, const char* line) {
  DWORD written = 0;
  return WriteFile(log, line, static_cast<DWORD>(std::strlen(line)), &written, nullptr) && written == std::strlen(line);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) return 2;
  HANDLE log = CreateFileA(argv[1], FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (log == INVALID_HANDLE_VALUE) return 1;
  if (!Append(log, "192.0.2.9 - - [31/Dec/2005:23:59:59 +0900] \"GET /dl/live.zip HTTP/1.1\" 200 1\r\n")) return 1;
  HANDLE ready = CreateFileA(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (ready == INVALID_HANDLE_VALUE) return 1;
  CloseHandle(ready);
  for (int waited = 0; waited < 600 && GetFileAttributesA(argv[3]) == INVALID_FILE_ATTRIBUTES; ++waited) Sleep(100);
  // Written after the batch opened the log: not in its page.
  Append(log, "192.0.2.9 - - [31/Dec/2005:23:59:59 +0900] \"GET /dl/after.zip HTTP/1.1\" 200 1\r\n");
  CloseHandle(log);
  return 0;
}
