#include "panelhost/browser_source.h"

#include <string>
#include <vector>

#include "panelhost/cycle_relay.h"
#include "panelhost/host_keys.h"
#include "panelhost/load_count.h"

namespace panelhost {

std::string window_title(const WindowConfig& config) {
    if (!config.title.empty()) return config.title;
    std::string t = "Window " + std::to_string(config.number);
    for (const auto& g : config.gauges) t += (&g == &config.gauges.front() ? ": " : ", ") + g.module;
    return t;
}

namespace {

class SessionSource final : public web::PanelSource {
public:
    explicit SessionSource(Session& session) : session_(session), relay_(session) {}

    std::uint64_t panel_loads() override { return loads_.update(session_.panel().windows()); }

    std::vector<web::WindowInfo> windows() override {
        std::vector<web::WindowInfo> out;
        for (const auto& w : session_.panel().windows())
            out.push_back({w->config.number, window_title(w->config), w->config.width, w->config.height, w->open});
        return out;
    }

    web::WindowChanges take_changes(std::size_t index, std::uint64_t& seen) override {
        Panel& panel = session_.panel();
        return panel.take_window(*panel.windows().at(index), seen);
    }

    web::PictureView picture(std::size_t index) override {
        const Image& p = session_.panel().windows().at(index)->picture;
        return {p.width, p.height, p.pixels};
    }

    bool press(int window, int x, int y) override { return session_.panel().press_window(window, x, y); }
    void release() override { session_.panel().release(); }

    void key(int vk, bool down) override { apply_key(session_, vk, down); }

    void listen(web::CycleListener* listener) override { relay_.set(listener); }

private:
    Session& session_;
    CycleRelay<web::CycleListener> relay_;
    LoadCount<Window> loads_;
};

}  // namespace

plat::Result<std::unique_ptr<web::PanelWebServer>> serve_in_browser(Session& session, const web::WebOptions& options) {
    return web::PanelWebServer::start(std::make_unique<SessionSource>(session), options);
}

}  // namespace panelhost
