// Where the tool's words go. Texts are UTF-8.
#pragma once

#include <string>

class Console {
public:
    virtual ~Console() = default;
    // A refusal or a fault found: to the error stream.
    virtual void Problem(const std::string& text) = 0;
    // The closing summary and the check's report.
    virtual void Say(const std::string& text) = 0;
    // The one progress line of a terminal, replaced by every call; "" clears
    // it. Nothing where the output is not a terminal.
    virtual void Progress(const std::string& text) = 0;
};

// The process's standard output and error.
class StdConsole : public Console {
public:
    StdConsole();
    void Problem(const std::string& text) override;
    void Say(const std::string& text) override;
    void Progress(const std::string& text) override;

private:
    bool m_fTerminal;
    size_t m_shown = 0;  // characters of the progress line on the screen
};

// 12,345,678
std::string GroupDigits(unsigned long long n);
