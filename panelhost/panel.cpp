#include "panelhost/panel.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <map>
#include <span>

#include "platform/clock.h"

#include "panelhost/element_render.h"
#include "panelhost/text_util.h"

namespace panelhost {
namespace {

// Calls body for the element and everything listed after it, parents before their children.
template <typename F>
void walk(gauge::Element* e, int depth, F&& body) {
    if (!e || depth > 64) return;
    body(e, depth);
    if (e->next)
        for (gauge::Element* const* child = e->next; *child; ++child) walk(*child, depth + 1, body);
}

const std::vector<int>& bitmap_ids_of(gauge::Element& e, std::vector<int>& ids) {
    ids.clear();
    if (e.kind == gauge::element_icon) {
        auto& icon = static_cast<gauge::Icon&>(e);
        for (int i = 0; i < icon.picture_count && icon.pictures; ++i) ids.push_back(icon.pictures[i]);
    } else if (e.kind != gauge::element_string && e.bitmap_id >= 0) {
        ids.push_back(e.bitmap_id);
    }
    return ids;
}

bool same_value(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

// The nearest entry of an 8-bit image's palette (0x00RRGGBB), the first of equals winning.
std::uint8_t nearest_index(const std::array<std::uint32_t, 256>& palette, std::uint32_t rgb) {
    int best = 0;
    long best_distance = -1;
    for (int i = 0; i < 256; ++i) {
        const std::uint32_t p = palette[static_cast<std::size_t>(i)];
        const long dr = long((p >> 16) & 0xFF) - long((rgb >> 16) & 0xFF);
        const long dg = long((p >> 8) & 0xFF) - long((rgb >> 8) & 0xFF);
        const long db = long(p & 0xFF) - long(rgb & 0xFF);
        const long d = dr * dr + dg * dg + db * db;
        if (best_distance < 0 || d < best_distance) best = i, best_distance = d;
    }
    return static_cast<std::uint8_t>(best);
}

// A host image starts as the element's own picture in the panel's format, so that an element
// whose image a module takes over keeps showing its bitmap until the module writes it.
void fill_from_picture(HostImage& img, const Image& picture) {
    std::map<std::uint32_t, std::uint8_t> nearest;
    for (int y = 0; y < img.height && y < picture.height; ++y) {
        std::uint8_t* out = img.pixels.data() + static_cast<std::size_t>(y) * img.pitch;
        for (int x = 0; x < img.width && x < picture.width; ++x) {
            const std::uint32_t rgb = picture.row(y)[x] & 0x00FFFFFFu;
            const unsigned r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
            switch (img.bits_per_pixel) {
                case 8: {
                    auto it = nearest.find(rgb);
                    if (it == nearest.end()) it = nearest.emplace(rgb, nearest_index(img.palette, rgb)).first;
                    out[x] = it->second;
                    break;
                }
                case 16: {
                    const unsigned v = 0x8000u | ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3);
                    out[2 * x] = static_cast<std::uint8_t>(v & 0xFF);
                    out[2 * x + 1] = static_cast<std::uint8_t>(v >> 8);
                    break;
                }
                case 24:
                    out[3 * x] = static_cast<std::uint8_t>(b);
                    out[3 * x + 1] = static_cast<std::uint8_t>(g);
                    out[3 * x + 2] = static_cast<std::uint8_t>(r);
                    break;
            }
        }
    }
}

// A window's background bitmap scaled to the window, or why it cannot be drawn.
plat::Result<Image> load_background(const PanelConfig& config, const WindowConfig& window) {
    const std::string path = background_path(config, window);
    auto bytes = read_text_file(path);
    if (!bytes) return plat::Error{path + ": cannot read the window's background bitmap"};
    const std::span<const std::uint8_t> data(reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size());
    auto decoded = decode_bitmap(data, path);
    if (!decoded) return plat::Error{decoded.error()};
    Image scaled(window.width, window.height, kPanelBackground);
    draw_scaled(scaled, decoded.value(), 0, 0, window.width, window.height);
    return scaled;
}

}  // namespace

Panel::Panel(PanelOptions options, VariableStore& variables)
    : options_(std::move(options)), variables_(variables) {}

Panel::~Panel() { unload(); }

std::vector<std::string> Panel::load(const PanelConfig& config) {
    std::vector<std::string> problems;
    for (const auto& wc : config.windows) {
        auto w = std::make_unique<Window>();
        w->config = wc;
        w->open = wc.visible;
        w->picture = Image(wc.width, wc.height, kPanelBackground);
        if (!wc.background.empty()) {
            auto background = load_background(config, wc);
            if (background)
                w->background = std::move(background).value();
            else
                problems.push_back(config.path + ":" + std::to_string(wc.background_line) + ": " + background.error());
        }
        windows_.push_back(std::move(w));
    }
    for (auto& window : windows_) {
        for (const auto& placement : window->config.gauges) {
            GaugeModule* module = nullptr;
            for (auto& m : modules_)
                if (m->name() == placement.module) module = m.get();
            bool placed = false;
            for (auto& g : gauges_) placed |= g->module == module && module;
            if (placed) {
                problems.push_back(config.path + ":" + std::to_string(placement.line) + ": module " +
                                   placement.module + " is already on the panel; a module holds one gauge");
                continue;
            }
            if (!module) {
                auto loaded = GaugeModule::load(placement.module, options_.module_folders, panel_services());
                if (!loaded) {
                    problems.push_back(config.path + ":" + std::to_string(placement.line) + ": " + loaded.error());
                    continue;
                }
                modules_.push_back(std::make_unique<GaugeModule>(std::move(loaded).value()));
                module = modules_.back().get();
            }
            gauge::GaugeHeader* header = module->find_gauge(placement.gauge);
            if (!header) {
                problems.push_back(config.path + ":" + std::to_string(placement.line) + ": module " +
                                   placement.module + " has no gauge named \"" + placement.gauge + "\"");
                continue;
            }
            auto g = std::make_unique<GaugeInstance>();
            g->placement = placement;
            g->window = window.get();
            g->module = module;
            g->header = header;
            window->gauges.push_back(g.get());
            gauges_.push_back(std::move(g));
        }
    }
    set_host_panel(this);
    for (auto& g : gauges_) install_gauge(*g);
    return problems;
}

void Panel::install_gauge(GaugeInstance& g) {
    CallScope scope(*this, &g);
    gauge::GaugeHeader* h = g.header;
    h->host = &g;
    if (h->install) h->install(g.module->handle());
    if (g.elements.empty()) install_elements(g, h->first_element, g.module->handle());
    if (h->version >= 700 && h->mouse_areas) {
        mouse_install(g, h->mouse_areas);
        mouse_attach(g, h->mouse_areas, true);
    }
    if (h->version >= 700 && h->callback) h->callback(h, gauge::kServiceAfterInstall, 0);
    if (h->initialize) h->initialize();
    g.installed = true;
    g.mark_changed();
}

void Panel::kill_gauge(GaugeInstance& g) {
    if (!g.installed) return;
    CallScope scope(*this, &g);
    gauge::GaugeHeader* h = g.header;
    if (h->kill) h->kill();
    if (h->version >= 700 && h->mouse_areas) mouse_attach(g, h->mouse_areas, false);
    kill_elements(g, h->first_element);
    g.mouse_lists.clear();
    h->host = nullptr;
    g.installed = false;
}

void Panel::unload() {
    release();
    for (auto it = gauges_.rbegin(); it != gauges_.rend(); ++it) kill_gauge(**it);
    drain_key_events();
    set_host_panel(nullptr);
    gauges_.clear();
    windows_.clear();
    modules_.clear();
}

void Panel::install_elements(GaugeInstance& g, gauge::Element* first, plat::ModuleHandle resources) {
    if (!g.elements.empty()) return;  // installed once; a second call changes nothing
    std::vector<int> ids;
    walk(first, 0, [&](gauge::Element* e, int depth) {
        auto s = std::make_unique<ElementState>();
        s->element = e;
        s->gauge = &g;
        s->depth = depth;
        for (int id : bitmap_ids_of(*e, ids)) {
            auto picture = load_bitmap_resource(resources, id);
            if (!picture) {
                std::fprintf(stderr, "gauge %s: %s\n", g.name().c_str(), picture.error().c_str());
                s->pictures.emplace_back();
            } else {
                s->pictures.push_back(std::move(picture).value());
            }
        }
        if (e->kind == gauge::element_moving) {
            auto& m = static_cast<gauge::MovingImage&>(*e);
            if (m.mask_bitmap_id >= 0) {
                auto mask = load_bitmap_resource(resources, m.mask_bitmap_id);
                if (mask) s->mask = std::move(mask).value();
            }
        }
        if (e->kind == gauge::element_string) {
            auto& str = static_cast<gauge::StringElement&>(*e);
            std::size_t size = static_cast<std::size_t>(std::max(str.max_chars, 1)) + 1;
            s->text_buffer.assign(size, '\0');
            str.text = s->text_buffer.data();
            str.buffer_size = static_cast<std::int32_t>(size);
        }
        e->gauge = g.header;
        e->host = s.get();
        if (e->source.token >= 0) variables_.lookup(e->source);
        g.elements.push_back(std::move(s));
    });
    if (!g.elements.empty() && !g.elements.front()->pictures.empty()) {
        g.native_width = g.elements.front()->pictures.front().width;
        g.native_height = g.elements.front()->pictures.front().height;
    }
    if (g.native_width <= 0 || g.native_height <= 0) {
        g.native_width = g.placement.width.value_or(1);
        g.native_height = g.placement.height.value_or(1);
    }
    g.picture = Image(g.native_width, g.native_height, 0);
    g.mark_changed();
}

void Panel::kill_elements(GaugeInstance& g, gauge::Element* first) {
    (void)first;
    for (auto& s : g.elements) {
        s->element->host = nullptr;
        if (s->element->kind == gauge::element_string) {
            auto& str = static_cast<gauge::StringElement&>(*s->element);
            str.text = nullptr;
            str.buffer_size = 0;
        }
    }
    g.elements.clear();
}

void Panel::update_element(ElementState& s) {
    gauge::Element& e = *s.element;
    bool failed_hidden = false, frozen = false;
    if (e.failures)
        for (const gauge::FailureRecord* f = e.failures; f->key != 0 || f->action != 0; ++f) {
            if (!failure_active(f->key)) continue;
            if (f->action == 3) failed_hidden = true;
            if (f->action == 1) frozen = true;
        }
    bool hidden = failed_hidden || (e.draw_flags & gauge::draw_hidden);
    if (hidden != s.hidden) {
        s.hidden = hidden;
        s.gauge->mark_changed();
    }
    if (frozen || e.kind == gauge::element_static) return;

    if (e.source.token >= 0) variables_.lookup(e.source);
    double v = 0.0;
    bool version700 = s.gauge->header->version >= 700;
    if (version700 && e.on_element)
        v = e.on_element(&e);
    else if (e.on_var)
        v = e.on_var(&e.source);
    else if (e.on_element)
        v = e.on_element(&e);
    else if (e.source.type == gauge::var_integer)
        v = e.source.value.i;
    else if (e.source.type == gauge::var_text)
        v = 0.0;
    else
        v = e.source.value.d;

    if (e.kind == gauge::element_string) {
        if (!s.text_buffer.empty()) {
            s.text_buffer.back() = '\0';
            if (s.shown_text != s.text_buffer.data()) {
                s.shown_text = s.text_buffer.data();
                s.gauge->mark_changed();
            }
        }
    }
    if (!s.has_value || !same_value(v, s.value)) {
        s.has_value = true;
        s.value = v;
        s.gauge->mark_changed();
    }
}

void Panel::update_elements(GaugeInstance& g, gauge::Element* first) {
    (void)first;
    for (auto& s : g.elements) update_element(*s);
}

void Panel::cycle(double t) {
    now_ = t;
    drain_key_events();
    if (holding_ && held_.area) fire(held_, gauge::mouse_repeat);
    for (auto& g : gauges_) {
        if (!g->installed) continue;
        CallScope scope(*this, g.get());
        gauge::GaugeHeader* h = g->header;
        if (h->update) h->update();
        if (h->version >= 700 && h->callback) h->callback(h, gauge::kServiceAfterUpdate, 0);
    }
    for (auto& g : gauges_) {
        if (!g->installed) continue;
        CallScope scope(*this, g.get());
        if (g->header->generate) g->header->generate(0);
        if (g->header->draw) g->header->draw();
    }
}

void GaugeInstance::mark_changed() {
    dirty = true;
    if (window) changed_at = ++window->changes;
}

void Panel::compose() {
    for (auto& w : windows_) compose_window(*w);
}

// The background, then every gauge over it in panel order, within one area of the window.
void Panel::repaint(Window& w, const Rect& area) {
    if (w.background.empty())
        fill_rect(w.picture, area.x, area.y, area.w, area.h, kPanelBackground);
    else
        copy_area(w.picture, w.background, area);
    for (GaugeInstance* g : w.gauges)
        draw_scaled(w.picture, g->picture, g->placement.x, g->placement.y, g->width(), g->height(), area);
}

void Panel::render_changed_gauges(Window& w) {
    for (GaugeInstance* g : w.gauges) {
        if (g->dirty && g->installed) render_gauge(*g, options_);
        g->dirty = false;
    }
}

void Panel::compose_window(Window& w) {
    if (w.composed_at == w.changes) return;
    render_changed_gauges(w);
    const Rect whole{0, 0, w.picture.width, w.picture.height};
    if (w.whole_at > w.composed_at) {
        repaint(w, whole);
    } else {
        for (GaugeInstance* g : w.gauges)
            if (g->changed_at > w.composed_at) repaint(w, g->box().intersect(whole));
    }
    w.composed_at = w.changes;
}

void Panel::compose_whole(Window& w) {
    render_changed_gauges(w);
    repaint(w, {0, 0, w.picture.width, w.picture.height});
    w.composed_at = w.changes;
}

WindowChanges Panel::take_window(Window& w, std::uint64_t& seen) {
    compose_window(w);
    WindowChanges c;
    if (seen < w.whole_at) {
        c.whole = true;
    } else {
        const Rect whole{0, 0, w.picture.width, w.picture.height};
        for (GaugeInstance* g : w.gauges)
            if (g->changed_at > seen)
                if (const Rect r = g->box().intersect(whole); !r.empty()) c.rects.push_back(r);
    }
    seen = w.changes;
    return c;
}

void Panel::mouse_install(GaugeInstance& g, gauge::MouseArea* list) {
    for (auto& m : g.mouse_lists)
        if (m.list == list) return;
    g.mouse_lists.push_back({list, false});
}

void Panel::mouse_attach(GaugeInstance& g, gauge::MouseArea* list, bool attached) {
    for (auto& m : g.mouse_lists)
        if (m.list == list) m.attached = attached;
    if (!attached && holding_ && held_.gauge == &g) release();
}

namespace {

// Calls take(area, x, y) for every left-clickable area of the gauge's attached lists, with the
// area's corner in the gauge's pixels (groups offset what they hold), until take returns true.
template <typename F>
void walk_clickable_areas(GaugeInstance& g, F&& take) {
    constexpr int kMaxDepth = 16;
    for (auto& m : g.mouse_lists) {
        if (!m.attached) continue;
        gauge::Point origin[kMaxDepth + 1] = {};
        int depth = 0;
        for (gauge::MouseArea* a = m.list; a->kind != gauge::mouse_end; ++a) {
            const gauge::Point base = origin[depth];
            if (a->kind == gauge::mouse_group) {
                if (depth < kMaxDepth) origin[++depth] = {base.x + a->x, base.y + a->y};
            } else if (a->kind == gauge::mouse_group_end) {
                if (depth > 0) --depth;
            } else if (a->kind == gauge::mouse_area && (a->event_flags & gauge::mouse_left_single)) {
                if (take(a, base.x + a->x, base.y + a->y)) return;
            }
        }
    }
}

}  // namespace

MouseHit Panel::route(GaugeInstance& g, int x, int y) {
    MouseHit hit;
    walk_clickable_areas(g, [&](gauge::MouseArea* a, int ax, int ay) {
        if (x < ax || x >= ax + a->w || y < ay || y >= ay + a->h) return false;
        hit = MouseHit{&g, a, {x, y}};
        return true;
    });
    return hit;
}

std::vector<AreaRect> Panel::clickable_areas(GaugeInstance& g) {
    std::vector<AreaRect> areas;
    walk_clickable_areas(g, [&](gauge::MouseArea* a, int ax, int ay) {
        areas.push_back({ax, ay, a->w, a->h});
        return false;
    });
    return areas;
}

bool Panel::fire(const MouseHit& hit, std::uint32_t flags) {
    if (!hit.area || !hit.gauge->installed) return false;
    if (hit.area->callback) {
        CallScope scope(*this, hit.gauge);
        gauge::Point p = hit.local;
        hit.area->callback(&p, flags);
    } else if (hit.area->key_event != 0) {
        send_key_event(hit.gauge->name(), static_cast<std::uint32_t>(hit.area->key_event), 0);
    }
    return true;
}

GaugeInstance* Panel::find_gauge(const std::string& name) {
    for (auto& g : gauges_)
        if (g->placement.gauge == name || g->placement.module == name) return g.get();
    // Scenario files cannot hold spaces: a gauge name may be given with '-' or '_' for them.
    for (auto& g : gauges_) {
        std::string n = g->placement.gauge;
        for (char& c : n)
            if (c == ' ') c = '_';
        if (n == name) return g.get();
    }
    return nullptr;
}

bool Panel::click_gauge(const std::string& name, int x, int y) {
    GaugeInstance* g = find_gauge(name);
    if (!g) return false;
    return fire(route(*g, x, y), gauge::mouse_left_single);
}

bool Panel::press_gauge(const std::string& name, int x, int y) {
    release();
    GaugeInstance* g = find_gauge(name);
    if (!g) return false;
    MouseHit hit = route(*g, x, y);
    if (!fire(hit, gauge::mouse_left_single)) return false;
    if (hit.area->event_flags & gauge::mouse_repeat) {
        held_ = hit;
        holding_ = true;
    }
    return true;
}

namespace {

GaugeInstance* gauge_at(Window& w, int x, int y, int& lx, int& ly) {
    for (auto it = w.gauges.rbegin(); it != w.gauges.rend(); ++it) {
        GaugeInstance* g = *it;
        int gw = g->width(), gh = g->height();
        if (gw <= 0 || gh <= 0 || x < g->placement.x || y < g->placement.y || x >= g->placement.x + gw ||
            y >= g->placement.y + gh)
            continue;
        lx = (x - g->placement.x) * g->native_width / gw;
        ly = (y - g->placement.y) * g->native_height / gh;
        return g;
    }
    return nullptr;
}

}  // namespace

bool Panel::click_window(int number, int x, int y) {
    for (auto& w : windows_) {
        if (w->config.number != number || !w->open) continue;
        int lx = 0, ly = 0;
        if (GaugeInstance* g = gauge_at(*w, x, y, lx, ly)) return fire(route(*g, lx, ly), gauge::mouse_left_single);
    }
    return false;
}

bool Panel::press_window(int number, int x, int y) {
    release();
    for (auto& w : windows_) {
        if (w->config.number != number || !w->open) continue;
        int lx = 0, ly = 0;
        GaugeInstance* g = gauge_at(*w, x, y, lx, ly);
        if (!g) return false;
        MouseHit hit = route(*g, lx, ly);
        if (!fire(hit, gauge::mouse_left_single)) return false;
        if (hit.area->event_flags & gauge::mouse_repeat) {
            held_ = hit;
            holding_ = true;
        }
        return true;
    }
    return false;
}

void Panel::release() {
    holding_ = false;
    held_ = {};
}

bool Panel::toggle_window(std::uint32_t ident) {
    bool found = false;
    for (auto& w : windows_)
        if (static_cast<std::uint32_t>(w->config.ident) == ident) {
            w->open = !w->open;
            w->whole_at = ++w->changes;
            found = true;
        }
    return found;
}

void Panel::set_failure(int key, bool active) {
    if (active)
        failures_.insert(key);
    else
        failures_.erase(key);
}

void Panel::send_key_event(const std::string& gauge, std::uint32_t id, std::uint32_t value) {
    // Stamped with the host's clock when sent, so paced events keep their spacing in the log.
    KeyEvent event{static_cast<double>(plat::now_ms()) / 1000.0, id, value, gauge};
    if (std::this_thread::get_id() != panel_thread_) {
        std::lock_guard lock(queue_mutex_);
        queued_events_.push_back(std::move(event));
        return;
    }
    drain_key_events();
    apply_key_event(std::move(event));
}

void Panel::apply_key_event(KeyEvent event) {
    ++key_events_sent_;
    if (log_key_event) log_key_event(event);
    key_events_.push_back(std::move(event));
    if (key_events_.size() > kRecentKeyEvents) key_events_.pop_front();
    if (on_key_event) on_key_event(key_events_.back().id, key_events_.back().value);
}

void Panel::drain_key_events() {
    std::vector<KeyEvent> pending;
    {
        std::lock_guard lock(queue_mutex_);
        pending.swap(queued_events_);
    }
    for (auto& e : pending) apply_key_event(std::move(e));
}

std::string Panel::gauge_name_of(plat::ModuleHandle module) const {
    for (const auto& g : gauges_)
        if (g->module && g->module->handle() == module) return g->name();
    return "host";
}

bool Panel::element_image(gauge::Element* element, int picture, gauge::ElementImage& out) {
    auto* s = static_cast<ElementState*>(element->host);
    if (!s || picture < 0 || picture >= 8) return false;
    int w = 0, h = 0;
    if (!s->pictures.empty()) {
        const Image& p = s->pictures[std::min<std::size_t>(static_cast<std::size_t>(picture), s->pictures.size() - 1)];
        w = p.width;
        h = p.height;
    }
    if (w <= 0 || h <= 0) return false;
    while (s->host_images.size() <= static_cast<std::size_t>(picture)) {
        auto img = std::make_unique<HostImage>();
        img->width = w;
        img->height = h;
        img->bits_per_pixel = options_.format_bits;
        int bytes = (options_.format_bits + 7) / 8;
        img->pitch = w * bytes + options_.image_pitch_padding;
        img->pixels.assign(static_cast<std::size_t>(img->pitch) * h, 0);
        img->palette = default_panel_palette();
        fill_from_picture(*img, s->pictures[std::min(s->host_images.size(), s->pictures.size() - 1)]);
        s->host_images.push_back(std::move(img));
    }
    HostImage& img = *s->host_images[static_cast<std::size_t>(picture)];
    out.pixels = img.pixels.data();
    out.width = img.width;
    out.height = img.height;
    out.pitch = img.pitch;
    out.bits_per_pixel = img.bits_per_pixel;
    out.palette = img.bits_per_pixel == 8 ? img.palette.data() : nullptr;
    return true;
}

}  // namespace panelhost
