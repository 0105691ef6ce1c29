#include "run_log.h"

#include "run_log_text.h"

namespace {
constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
constexpr wchar_t kFullText[] = L"log full at 256 KB: the lines after this one are dropped";
}  // namespace

bool RunLog::Open(std::unique_ptr<RunLogSink> sink, const CString& path)
{
    m_sink = std::move(sink);
    m_path = path;
    m_written = 0;
    m_full = false;
    m_error = m_sink ? m_sink->Append(kByteOrderMark, sizeof(kByteOrderMark) - 1) : ERROR_INVALID_HANDLE;
    if (m_error != ERROR_SUCCESS) {
        m_sink.reset();
        return false;
    }
    m_written = sizeof(kByteOrderMark) - 1;
    return true;
}

RunLogOutcome RunLog::Write(const SYSTEMTIME& localTime, const ULONGLONG* msSinceCreation, const CString& text)
{
    if (!m_sink || m_full)
        return RunLogOutcome::Dropped;
    const CString line = RunLogLine(localTime, msSinceCreation, text);
    if (m_written + Utf8Length(line) + kFullLineReserve <= kCapBytes)
        return Append(line) ? RunLogOutcome::Written : RunLogOutcome::Failed;
    m_full = true;
    return Append(RunLogLine(localTime, nullptr, kFullText)) ? RunLogOutcome::Dropped : RunLogOutcome::Failed;
}

bool RunLog::Append(const CString& line)
{
    const size_t length = Utf8Length(line);
    std::unique_ptr<char[]> bytes(new char[length]);
    EncodeUtf8(line, bytes.get());
    m_error = m_sink->Append(bytes.get(), length);
    if (m_error != ERROR_SUCCESS) {
        m_sink.reset();  // closes the file: nothing more is tried
        return false;
    }
    m_written += length;
    return true;
}
