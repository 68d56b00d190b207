#include "app/GameRandom.h"

#include <cstdlib>

GameRandom::Source GameRandom::source = nullptr;

int GameRandom::next() { return source ? source() : std::rand(); }

void GameRandom::seed(unsigned int value) { std::srand(value); }

void GameRandom::setSource(Source value) { source = value; }
