#pragma once
// Runs a panel through the real host in a test: a fresh folder with its own panel file and
// scenario, the session stepped cycle by cycle, and helpers to read pictures and blocks.

#include <filesystem>
#include <memory>
#include <string>

#include "panelhost/session.h"

// Options that also load the modules built in `folder` (a test's probe gauges, kept out of the
// panel's modules folder), beside the panel's own.
panelhost::SessionOptions with_modules_from(const std::string& folder, panelhost::SessionOptions options = {});

class PanelRun {
public:
    // Writes the panel (and scenario, if any) into a fresh folder named for the test and opens it.
    explicit PanelRun(const std::string& panel, const std::string& scenario = "",
                      panelhost::SessionOptions options = {});
    ~PanelRun();

    panelhost::Session& session() { return *session_; }
    panelhost::Panel& panel() { return session_->panel(); }
    void cycles(int n);
    // A window picture's pixel as 0x00RRGGBB.
    std::uint32_t pixel(int window, int x, int y);
    // Whether window `window` shows bitmap `id` of the gauge's module at (x, y) in gauge pixels:
    // every non-black pixel of the bitmap is on screen.
    bool shows(const std::string& gauge, int id, int x, int y, int window = 0);
    // Text of a named block's field (up to its NUL, at most n bytes); "" when the block is absent.
    std::string block_text(const std::string& block, std::size_t offset, std::size_t n = 10);
    const std::filesystem::path& dir() const { return dir_; }

private:
    std::filesystem::path dir_;
    std::filesystem::path previous_cwd_;
    std::unique_ptr<panelhost::Session> session_;
};
