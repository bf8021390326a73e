// The temporary files of one forwarded call. They are all named after one
// file that GetTempFileName creates for this call alone, so calls running at
// the same time never share a name, and all of them are deleted with it.
#pragma once

#include <string>
#include <string_view>

class RunFiles {
public:
    // Suffixes of the files the script writes next to the created one.
    static constexpr std::string_view kOutput = ".out";
    static constexpr std::string_view kDone = ".done";
    static constexpr std::string_view kPending = ".done.tmp";

    RunFiles();  // see created()
    ~RunFiles();
    RunFiles(const RunFiles&) = delete;
    RunFiles& operator=(const RunFiles&) = delete;

    bool created() const { return !base_.empty(); }
    // The created file, which holds the script.
    const std::wstring& base() const { return base_; }
    // base() followed by one of the suffixes above.
    std::wstring Named(std::string_view suffix) const;

private:
    std::wstring base_;
};
