#pragma once

// The decoded tiles kept for the overview, by file name, within a budget of bytes: the
// one used longest ago goes first, so memory stays bounded whatever the folder's size.

#include "tile.h"

#include <cstddef>
#include <list>
#include <memory>
#include <string>
#include <unordered_map>

namespace kadromir {

class TileCache {
  public:
    explicit TileCache(std::size_t budgetBytes) : Budget(budgetBytes) {}

    // The tile kept for the name (now the one used last), or null.
    std::shared_ptr<const Tile> Find(const std::string& name);
    // Keeps the tile, in place of one kept for the name, and lets the oldest go while
    // the tiles take more than the budget (the newest always stays).
    void Put(const std::string& name, std::shared_ptr<const Tile> tile);
    void Clear();

    std::size_t Bytes() const { return Used; }
    std::size_t Count() const { return Tiles.size(); }

  private:
    struct Kept {
        std::shared_ptr<const Tile> Picture;
        std::list<std::string>::iterator Place;
    };
    void Drop(const std::string& name);

    std::size_t Budget;
    std::size_t Used = 0;
    std::list<std::string> Order; // the one used last at the front
    std::unordered_map<std::string, Kept> Tiles;
};

} // namespace kadromir
