#pragma once

#include <QVariant>

#include <cstddef>
#include <cstdint>
#include <list>
#include <unordered_map>
#include <utility>
#include <vector>

namespace store {

// The rows a record view has read lately, by key, the most recently used
// first. A grid shows about thirty rows at a time; a few hundred cover
// scrolling back and forth without going to the store again, and keep a
// 200,000-row view at a few megabytes.
class RowCache {
public:
    using Row = std::vector<QVariant>;

    explicit RowCache(std::size_t capacity = 512) : capacity_(capacity ? capacity : 1) {}

    // The row kept for `key`, or nullptr. A hit counts as a use. The pointer
    // is valid until the next put, erase or clear.
    const Row* find(std::int64_t key)
    {
        auto it = index_.find(key);
        if (it == index_.end())
            return nullptr;
        if (it->second != order_.begin())
            order_.splice(order_.begin(), order_, it->second);
        return &it->second->second;
    }

    // Keeps `row` for `key` (replacing what was kept), dropping the least
    // recently used row when full.
    const Row& put(std::int64_t key, Row row)
    {
        erase(key);
        if (index_.size() >= capacity_) {
            index_.erase(order_.back().first);
            order_.pop_back();
        }
        order_.emplace_front(key, std::move(row));
        index_[key] = order_.begin();
        return order_.front().second;
    }

    void erase(std::int64_t key)
    {
        auto it = index_.find(key);
        if (it == index_.end())
            return;
        order_.erase(it->second);
        index_.erase(it);
    }

    void clear()
    {
        index_.clear();
        order_.clear();
    }

    std::size_t size() const { return index_.size(); }
    std::size_t capacity() const { return capacity_; }

private:
    std::size_t capacity_;
    std::list<std::pair<std::int64_t, Row>> order_;
    std::unordered_map<std::int64_t, std::list<std::pair<std::int64_t, Row>>::iterator> index_;
};

} // namespace store
