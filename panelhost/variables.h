#pragma once
// The simulator's variables as the host keeps them: one value per token id, in the form the
// token delivers (a double, a 32-bit integer, or a text), and the named variables that other
// panel modules publish.

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "host/records.h"

namespace panelhost {

class VariableStore {
public:
    VariableStore();

    void set_double(int token, double value);
    void set_int(int token, std::int32_t value);
    void set_text(int token, std::string_view text);
    double get_double(int token) const;
    std::int32_t get_int(int token) const;
    std::string get_text(int token) const;
    bool is_set(int token) const;

    // Fills a module's record: its value bytes in the token's own form, and its type.
    void lookup(gauge::VariableRecord& record) const;

    // Named variables: publishing gives the name a stable value slot; binding hands it out.
    void publish_named(std::string_view name, double value);
    double* named(std::string_view name);  // null when nobody publishes it

    // Bumped on every change, so the host can tell an idle cycle from a busy one.
    std::uint64_t generation() const { return generation_; }

private:
    struct Slot {
        gauge::VarType form = gauge::var_double;
        bool set = false;
        double d = 0.0;
        std::int32_t i = 0;
        std::string text;
    };
    Slot* slot(int token);
    const Slot* find(int token) const;

    std::vector<Slot> dense_;           // tokens 0..kDense-1
    std::map<int, Slot> sparse_;        // anything else
    std::deque<double> named_values_;   // stable addresses
    std::map<std::string, double*, std::less<>> named_;
    std::uint64_t generation_ = 0;
};

}  // namespace panelhost
