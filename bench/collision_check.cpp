// Cost of Collision::checkAll per registered pair, for growing numbers of
// pairs of 4-point outlines: far apart (dropped by the bounding circles),
// near (circles overlap, edges flagged, no crossing) and crossing (one
// notification per pair).
#include <SDL/SDL.h>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <list>
#include <memory>
#include <vector>

#include "graphics/Collision.h"
#include "graphics/Polygon.h"
#include "graphics/Rectangle.h"
#include "graphics/Shape.h"
#include "scene/GameObject.h"

namespace {

// Outlines are built on the GL model-view stack, so a context must exist.
void openWindow() {
    static bool open = false;
    if (open)
        return;
    if (SDL_Init(SDL_INIT_VIDEO) != 0 || !SDL_SetVideoMode(64, 64, 32, SDL_OPENGL)) {
        std::fprintf(stderr, "collision_check: no GL window: %s\n", SDL_GetError());
        std::exit(1);
    }
    open = true;
}

enum Layout { Far, Near, Crossing };

// A 10 x 10 square outline placed at (x, y).
class Box : public GameObject {
public:
    Box(float x, float y) : outline({Rectangle(Position(0, 0), 10, 10)}), place(x, y) {
        setShape(&outline);
        setUseGraphicShape(false);
        position = &place;
    }
    void onCollision(GameObject*, Position, Position, Position, Position) override { ++hits; }

    long hits = 0;

private:
    Shape outline;
    Position place;
};

void checkAllPerPair(benchmark::State& state, Layout layout) {
    openWindow();
    const int pairs = static_cast<int>(state.range(0));
    // Other's offset from its subject: far is well outside the filter, near
    // sits 2 px to the right, crossing overlaps by half.
    const float offset = layout == Far ? 200.0f : layout == Near ? 12.0f : 5.0f;
    std::vector<std::unique_ptr<Box>> boxes;
    Collision::clearCollisions();
    for (int i = 0; i < pairs; ++i) {
        const float x = static_cast<float>(i % 40) * 500.0f;
        const int row = i / 40;
        const float y = static_cast<float>(row) * 500.0f;
        boxes.emplace_back(new Box(x, y));
        Box* subject = boxes.back().get();
        boxes.emplace_back(new Box(x + offset, y + offset / 2));
        Collision::registerCollision(subject, boxes.back().get(), true, false);
    }
    for ([[maybe_unused]] auto _ : state)
        Collision::checkAll();
    long hits = 0;
    for (const auto& box : boxes)
        hits += box->hits;
    state.counters["pairs"] = pairs;
    state.counters["per_pair"] = benchmark::Counter(
        pairs, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["hits_per_check"] =
        static_cast<double>(hits) / static_cast<double>(state.iterations());
    Collision::clearCollisions();
}

void BM_CheckAllFar(benchmark::State& state) {
    checkAllPerPair(state, Far);
}
void BM_CheckAllNear(benchmark::State& state) {
    checkAllPerPair(state, Near);
}
void BM_CheckAllCrossing(benchmark::State& state) {
    checkAllPerPair(state, Crossing);
}

// The geometric part alone, on polygons built once: what the bounding
// circles and candidate flags save over testing every edge pair.
void edgeTests(benchmark::State& state, Layout layout, bool filtered) {
    const float offset = layout == Far ? 200.0f : layout == Near ? 12.0f : 5.0f;
    Polygon a = Rectangle(Position(0, 0), 10, 10);
    Polygon b = Rectangle(Position(offset, offset / 2), 10, 10);
    std::vector<bool> flags;
    long crossings = 0;
    for ([[maybe_unused]] auto _ : state) {
        a.updateBounds();
        b.updateBounds();
        if (filtered &&
            (!Collision::boundsOverlap(a, b) || !Collision::findCandidateEdges(a, b, flags)))
            continue;
        const std::list<Position>& points = a.getPoints();
        size_t i = 0;
        for (auto p = points.begin(), q = std::next(p); q != points.end(); ++p, ++q, ++i) {
            Position start(0, 0), end(0, 0);
            if ((!filtered || flags[i]) && Collision::findCrossingEdge(*p, *q, b, start, end)) {
                ++crossings;
                break;
            }
        }
    }
    benchmark::DoNotOptimize(crossings);
}

void BM_EdgeTestFiltered(benchmark::State& state) {
    edgeTests(state, static_cast<Layout>(state.range(0)), true);
}
void BM_EdgeTestUnfiltered(benchmark::State& state) {
    edgeTests(state, static_cast<Layout>(state.range(0)), false);
}

BENCHMARK(BM_CheckAllFar)->Arg(10)->Arg(100)->Arg(1000);
BENCHMARK(BM_CheckAllNear)->Arg(10)->Arg(100)->Arg(1000);
BENCHMARK(BM_CheckAllCrossing)->Arg(10)->Arg(100)->Arg(1000);
// Argument: 0 far, 1 near, 2 crossing.
BENCHMARK(BM_EdgeTestFiltered)->DenseRange(Far, Crossing);
BENCHMARK(BM_EdgeTestUnfiltered)->DenseRange(Far, Crossing);

} // namespace

BENCHMARK_MAIN();
