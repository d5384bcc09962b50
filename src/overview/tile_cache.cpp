#include "tile_cache.h"

namespace kadromir {

std::shared_ptr<const Tile> TileCache::Find(const std::string& name) {
    const auto found = Tiles.find(name);
    if (found == Tiles.end()) {
        return nullptr;
    }
    Order.splice(Order.begin(), Order, found->second.Place);
    return found->second.Picture;
}

void TileCache::Drop(const std::string& name) {
    const auto found = Tiles.find(name);
    if (found != Tiles.end()) {
        Used -= found->second.Picture->Bytes();
        Order.erase(found->second.Place);
        Tiles.erase(found);
    }
}

void TileCache::Put(const std::string& name, std::shared_ptr<const Tile> tile) {
    if (!tile) {
        return;
    }
    Drop(name);
    Order.push_front(name);
    Used += tile->Bytes();
    Tiles.emplace(name, Kept{std::move(tile), Order.begin()});
    while (Used > Budget && Tiles.size() > 1) {
        Drop(Order.back());
    }
}

void TileCache::Clear() {
    Tiles.clear();
    Order.clear();
    Used = 0;
}

} // namespace kadromir
