#include "app/GameRandom.h"

#include <cstdlib>

GameRandom::Source GameRandom::source = nullptr;

int GameRandom::next() {
    if (source)
        return source();
    // glibc's RAND_MAX is 2^31 - 1; taking the high bits keeps the best ones.
    const long long scaled = static_cast<long long>(std::rand()) * (max + 1LL) / (RAND_MAX + 1LL);
    return static_cast<int>(scaled);
}

void GameRandom::seed(unsigned int value) {
    std::srand(value);
}

void GameRandom::setSource(Source value) {
    source = value;
}
