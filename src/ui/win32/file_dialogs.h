#pragma once

// The common file dialogs' buffers: long enough for the longest path Windows takes.

#include <string>

namespace kadromir::ui {

// The dialogs' filter text: a description and its patterns, each ended by a zero,
// the list ended by another.
std::wstring DialogFilter(const std::string& description, const std::string& patterns);

} // namespace kadromir::ui
