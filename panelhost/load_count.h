#pragma once
// Counts a panel's loads for the adapters that hand the panel's objects out (browser_source.h,
// io_source.h): when the objects the panel holds are not the ones seen last, it was loaded again,
// and whatever was handed out before is gone.

#include <cstdint>
#include <memory>
#include <vector>

namespace panelhost {

template <typename T>
class LoadCount {
public:
    std::uint64_t update(const std::vector<std::unique_ptr<T>>& held) {
        bool same = known_.size() == held.size();
        for (std::size_t i = 0; same && i < held.size(); ++i) same = known_[i] == held[i].get();
        if (!same) {
            known_.clear();
            for (const auto& h : held) known_.push_back(h.get());
            ++loads_;
        }
        return loads_;
    }

private:
    std::vector<const T*> known_;
    std::uint64_t loads_ = 0;
};

}  // namespace panelhost
