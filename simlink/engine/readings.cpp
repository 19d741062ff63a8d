#include "simlink/engine/readings.h"

#include <algorithm>
#include <cmath>

#include "sim/state.h"

namespace simlink {

namespace {

int add_path(PropertyIndex& index, const std::string& path, bool text, double until_answered) {
    if (path.empty()) return -1;
    const int found = index.find(path);
    if (found >= 0) {
        if (text) index.is_text[static_cast<std::size_t>(found)] = true;
        return found;
    }
    const int i = static_cast<int>(index.paths.size());
    index.paths.push_back(path);
    index.by_path.emplace(path, i);
    index.is_text.push_back(text);
    index.until_answered.push_back(until_answered);
    return i;
}

}  // namespace

int PropertyIndex::find(std::string_view path) const {
    const auto it = by_path.find(std::string(path));
    return it == by_path.end() ? -1 : it->second;
}

PropertyIndex build_index(const Bindings& b) {
    PropertyIndex index;
    for (const TokenBinding& t : b.tokens) {
        std::array<int, max_sources> at{-1, -1, -1};
        for (std::size_t k = 0; k < t.sources.size() && k < max_sources; ++k)
            at[k] = add_path(index, t.sources[k].path, t.sources[k].text, t.sources[k].until_answered);
        index.row_sources.push_back(at);
    }
    for (const std::string& s : b.settings) add_path(index, s, false, 0);
    if (!b.throttle.empty())
        for (int lever = 0; lever < sim::throttle_count; ++lever) add_path(index, b.throttle_path(lever), false, 0);
    add_path(index, b.gear, false, 1);
    for (const SwitchBinding& s : b.switches)
        if (s.toggle) add_path(index, s.state, false, 0);
    return index;
}

Readings::Readings(const PropertyIndex& index)
    : numbers(index.until_answered), texts(index.paths.size()), answered(index.paths.size(), false) {}

void Readings::take_number(std::size_t i, double v) {
    if (i >= numbers.size() || !std::isfinite(v)) return;
    numbers[i] = v;
    answered[i] = true;
}

void Readings::take_text(std::size_t i, std::string t) {
    if (i >= texts.size() || !acceptable_text(t)) return;
    texts[i] = std::move(t);
    answered[i] = true;
}

bool acceptable_text(std::string_view t) {
    return t.size() <= max_text_bytes && std::ranges::all_of(t, [](char c) { return c >= ' ' && c < 0x7F; });
}

double token_value(const Bindings& b, const PropertyIndex& index, std::size_t row, const Readings& r,
                   const LinkIntent& intent) {
    const TokenBinding& t = b.tokens[row];
    if (t.form == Form::text || !t.convert) return 0;
    Inputs in;
    in.intent = &intent;
    for (std::size_t k = 0; k < max_sources; ++k) {
        const int i = index.row_sources[row][k];
        if (i < 0) continue;
        in.v[k] = r.numbers[static_cast<std::size_t>(i)];
        in.t[k] = r.texts[static_cast<std::size_t>(i)];
    }
    return t.convert(in);
}

void publish_tokens(const Bindings& b, const PropertyIndex& index, const Readings& r, const LinkIntent& intent,
                    sim::TokenSink& sink) {
    for (std::size_t row = 0; row < b.tokens.size(); ++row) {
        const TokenBinding& t = b.tokens[row];
        switch (t.form) {
            case Form::number: sink.set_double(t.token, token_value(b, index, row, r, intent)); break;
            case Form::integer:
                sink.set_int(t.token, static_cast<std::int32_t>(token_value(b, index, row, r, intent)));
                break;
            case Form::text: sink.set_text(t.token, r.texts[static_cast<std::size_t>(index.row_sources[row][0])]); break;
        }
    }
}

}  // namespace simlink
