#pragma once
// Limits of what one optimization run and one stored layout may hold.

#include <cstdint>

// Largest count of sheets of one type, or of pieces of one part type: 99999999 also
// stands for an unlimited stock.
constexpr int32_t kMaxStockCount = 99999999;

// Largest number of pieces one optimization run takes (the sum of the part counts).
// A workshop's order is a few thousand pieces; far longer lists cannot be laid out in
// reasonable time and memory and are refused with a message naming this limit.
constexpr int64_t kMaxPiecesPerRun = 100000;
