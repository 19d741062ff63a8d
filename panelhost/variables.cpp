#include "panelhost/variables.h"

namespace panelhost {
namespace {
constexpr int kDense = 2048;
}

VariableStore::VariableStore() : dense_(kDense) {}

VariableStore::Slot* VariableStore::slot(int token) {
    if (token >= 0 && token < kDense) return &dense_[static_cast<std::size_t>(token)];
    return &sparse_[token];
}

const VariableStore::Slot* VariableStore::find(int token) const {
    if (token >= 0 && token < kDense) return &dense_[static_cast<std::size_t>(token)];
    auto it = sparse_.find(token);
    return it == sparse_.end() ? nullptr : &it->second;
}

void VariableStore::set_double(int token, double value) {
    Slot* s = slot(token);
    if (s->set && s->form == gauge::var_double && s->d == value) return;
    s->form = gauge::var_double;
    s->set = true;
    s->d = value;
    ++generation_;
}

void VariableStore::set_int(int token, std::int32_t value) {
    Slot* s = slot(token);
    if (s->set && s->form == gauge::var_integer && s->i == value) return;
    s->form = gauge::var_integer;
    s->set = true;
    s->i = value;
    s->d = value;
    ++generation_;
}

void VariableStore::set_text(int token, std::string_view text) {
    Slot* s = slot(token);
    if (s->set && s->form == gauge::var_text && s->text == text) return;
    s->form = gauge::var_text;
    s->set = true;
    s->text = std::string(text);
    s->d = 0.0;
    ++generation_;
}

double VariableStore::get_double(int token) const {
    const Slot* s = find(token);
    return s ? s->d : 0.0;
}

std::int32_t VariableStore::get_int(int token) const {
    const Slot* s = find(token);
    if (!s) return 0;
    return s->form == gauge::var_integer ? s->i : static_cast<std::int32_t>(s->d);
}

std::string VariableStore::get_text(int token) const {
    const Slot* s = find(token);
    return s && s->form == gauge::var_text ? s->text : std::string();
}

bool VariableStore::is_set(int token) const {
    const Slot* s = find(token);
    return s && s->set;
}

void VariableStore::lookup(gauge::VariableRecord& record) const {
    const Slot* s = find(record.token);
    record.value.d = 0.0;
    if (!s) {
        record.type = gauge::var_double;
        return;
    }
    record.type = s->form;
    switch (s->form) {
        case gauge::var_integer: record.value.i = s->i; break;
        case gauge::var_text: record.value.text = s->text.c_str(); break;
        default: record.value.d = s->d; break;
    }
}

void VariableStore::publish_named(std::string_view name, double value) {
    auto it = named_.find(name);
    if (it == named_.end()) {
        named_values_.push_back(value);
        named_.emplace(std::string(name), &named_values_.back());
    } else if (*it->second != value) {
        *it->second = value;
    }
    ++generation_;
}

double* VariableStore::named(std::string_view name) {
    auto it = named_.find(name);
    return it == named_.end() ? nullptr : it->second;
}

}  // namespace panelhost
