// The number of elements of an array, for loop bounds that follow the array.
#pragma once

template <typename T, int N>
constexpr int CountOf(T (&)[N]) {
    return N;
}
