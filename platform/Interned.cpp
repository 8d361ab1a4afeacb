#include "platform/Interned.h"

#include <functional>
#include <mutex>
#include <unordered_set>

namespace platform {

namespace {

// Node-based, so the texts never move; kept for the life of the program (the values
// are the faces and tags of the pages read, a bounded few).
struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const {
        return std::hash<std::string_view>()(text);
    }
};

struct Pool {
    std::mutex lock;
    std::unordered_set<std::string, TextHash, std::equal_to<>> texts;
};

Pool& ThePool() {
    static Pool* pool = new Pool;  // never destroyed: holders may outlive static destruction
    return *pool;
}

const std::string* EmptyText() {
    static const std::string empty;
    return &empty;
}

}  // namespace

Interned::Interned() : text_(EmptyText()) {}

Interned::Interned(std::string_view text) {
    if (text.empty()) {
        text_ = EmptyText();
        return;
    }
    Pool& pool = ThePool();
    std::lock_guard<std::mutex> guard(pool.lock);
    auto found = pool.texts.find(text);
    if (found == pool.texts.end()) found = pool.texts.emplace(text).first;
    text_ = &*found;
}

Interned RecentInterned::Get(std::string_view text) {
    for (const Interned& known : recent_) {
        const std::string& k = known.str();
        // Sizes and first letters tell most names apart without a call.
        if (k.size() == text.size() &&
            (text.empty() || (k[0] == text[0] && k.compare(0, k.size(), text) == 0)))
            return known;
    }
    Interned made(text);
    recent_[next_++ % recent_.size()] = made;
    return made;
}

}  // namespace platform
