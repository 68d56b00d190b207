#include "app/GameRandom.h"

GameRandom::Source GameRandom::source = nullptr;
std::int32_t GameRandom::state[kDegree] = {};
int GameRandom::front = 0;
int GameRandom::rear = 0;

namespace {

// What glibc's srand() starts from before any seed is given.
const unsigned int kDefaultSeed = 1;

} // namespace

int GameRandom::next() {
    if (source)
        return source();
    // Taking the high bits keeps the best ones.
    return static_cast<int>(static_cast<long long>(raw()) * (max + 1LL) / (rawMax + 1LL));
}

// glibc's __srandom_r: a Lehmer sequence fills the table, then ten rounds
// of it are thrown away.
void GameRandom::seed(unsigned int value) {
    if (value == 0)
        value = 1;
    std::int32_t word = static_cast<std::int32_t>(value);
    state[0] = word;
    for (int i = 1; i < kDegree; ++i) {
        const long long hi = word / 127773, lo = word % 127773;
        word = static_cast<std::int32_t>(16807 * lo - 2836 * hi);
        if (word < 0)
            word += 2147483647;
        state[i] = word;
    }
    front = kSeparation;
    rear = 0;
    for (int i = 0; i < kDegree * 10; ++i)
        raw();
}

// glibc's __random_r for its default table.
int GameRandom::raw() {
    if (front == rear)
        seed(kDefaultSeed);
    const std::uint32_t value =
        static_cast<std::uint32_t>(state[front]) + static_cast<std::uint32_t>(state[rear]);
    state[front] = static_cast<std::int32_t>(value);
    front = (front + 1) % kDegree;
    rear = (rear + 1) % kDegree;
    return static_cast<int>(value >> 1);
}

void GameRandom::setSource(Source value) {
    source = value;
}
