#include "panel_fixture.h"

#include <gtest/gtest.h>

#include <fstream>

#include "panelhost/image.h"
#include "platform/shared_block.h"

namespace fs = std::filesystem;

panelhost::SessionOptions with_modules_from(const std::string& folder, panelhost::SessionOptions options) {
    options.extra_module_folders.push_back(folder);
    return options;
}

PanelRun::PanelRun(const std::string& panel, const std::string& scenario, panelhost::SessionOptions options) {
    previous_cwd_ = fs::current_path();
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = fs::temp_directory_path() / "panel_tests" / (std::string(info->test_suite_name()) + "." + info->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    std::ofstream(dir_ / "panel.cfg") << panel;
    options.panel = (dir_ / "panel.cfg").string();
    if (!scenario.empty()) {
        std::ofstream(dir_ / "scenario.txt") << scenario;
        options.scenario = (dir_ / "scenario.txt").string();
    }
    if (options.out.empty()) options.out = (dir_ / "out").string();
    auto s = panelhost::Session::open(options);
    if (!s) throw std::runtime_error(s.error());
    session_ = std::move(s).value();
}

PanelRun::~PanelRun() {
    session_.reset();
    fs::current_path(previous_cwd_);
}

void PanelRun::cycles(int n) {
    for (int i = 0; i < n; ++i) session_->step();
}

std::uint32_t PanelRun::pixel(int window, int x, int y) {
    session_->panel().compose();
    for (auto& w : session_->panel().windows())
        if (w->config.number == window) return w->picture.row(y)[x] & 0x00FFFFFFu;
    ADD_FAILURE() << "no window " << window;
    return 0;
}

bool PanelRun::shows(const std::string& gauge_name, int id, int x, int y, int window) {
    panelhost::GaugeInstance* g = panel().find_gauge(gauge_name);
    if (!g) return false;
    auto bitmap = panelhost::load_bitmap_resource(g->module->handle(), id);
    if (!bitmap) {
        ADD_FAILURE() << bitmap.error();
        return false;
    }
    int compared = 0;
    for (int by = 0; by < bitmap->height; ++by)
        for (int bx = 0; bx < bitmap->width; ++bx) {
            const std::uint32_t p = bitmap->row(by)[bx];
            if (panelhost::is_black(p)) continue;
            ++compared;
            if (pixel(window, g->placement.x + x + bx, g->placement.y + y + by) != (p & 0x00FFFFFFu)) return false;
        }
    return compared > 0;
}

std::string PanelRun::block_text(const std::string& block, std::size_t offset, std::size_t n) {
    auto b = plat::SharedBlock::open_existing(block);
    if (!b) return "";
    auto v = b->map(plat::Access::read_only);
    if (!v || offset + n > v->size()) return "";
    const char* p = v->as<const char>() + offset;
    std::string out;
    for (std::size_t i = 0; i < n && p[i]; ++i) out += p[i];
    return out;
}
