#pragma once

// The decoded tiles kept for the overview, by file name, within a budget of bytes: the
// one used longest ago goes first, so memory stays bounded whatever the folder's size.
// `Kept` tells its own size through Bytes(): a Tile, or the form the window draws.

#include <cstddef>
#include <list>
#include <memory>
#include <string>
#include <unordered_map>

namespace kadromir {

template <class Kept> class TileCache {
  public:
    explicit TileCache(std::size_t budgetBytes) : BudgetBytes(budgetBytes) {}

    // The tile kept for the name (now the one used last), or null.
    std::shared_ptr<const Kept> Find(const std::string& name) {
        const auto found = Tiles.find(name);
        if (found == Tiles.end()) {
            return nullptr;
        }
        Order.splice(Order.begin(), Order, found->second.Place);
        return found->second.Value;
    }
    // Keeps the tile, in place of one kept for the name, and lets the oldest go while
    // the tiles take more than the budget (the newest always stays).
    void Put(const std::string& name, std::shared_ptr<const Kept> tile) {
        if (!tile) {
            return;
        }
        Drop(name);
        Order.push_front(name);
        Used += tile->Bytes();
        Tiles.emplace(name, Entry{std::move(tile), Order.begin()});
        while (Used > BudgetBytes && Tiles.size() > 1) {
            Drop(Order.back());
        }
    }
    void Drop(const std::string& name) {
        const auto found = Tiles.find(name);
        if (found != Tiles.end()) {
            Used -= found->second.Value->Bytes();
            Order.erase(found->second.Place);
            Tiles.erase(found);
        }
    }
    void Clear() {
        Tiles.clear();
        Order.clear();
        Used = 0;
    }

    std::size_t Bytes() const { return Used; }
    std::size_t Count() const { return Tiles.size(); }
    std::size_t Budget() const { return BudgetBytes; }

  private:
    struct Entry {
        std::shared_ptr<const Kept> Value;
        std::list<std::string>::iterator Place;
    };

    std::size_t BudgetBytes;
    std::size_t Used = 0;
    std::list<std::string> Order; // the one used last at the front
    std::unordered_map<std::string, Entry> Tiles;
};

} // namespace kadromir
