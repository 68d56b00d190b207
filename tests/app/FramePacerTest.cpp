#include <gtest/gtest.h>

#include "app/FramePacer.h"

TEST(FramePacer, BudgetsSpreadTheFractionOverFrames) {
    FramePacer pacer(60);
    std::vector<int> budgets;
    for (int i = 0; i < 9; ++i)
        budgets.push_back(pacer.nextBudget());
    EXPECT_EQ(budgets, (std::vector<int>{16, 17, 17, 16, 17, 17, 16, 17, 17}));

    // No drift over a long run: 60 000 frames last 1 000 000 ms.
    FramePacer longRun(60);
    long long total = 0;
    for (int i = 0; i < 60000; ++i)
        total += longRun.nextBudget();
    EXPECT_EQ(total, 1000000);

    FramePacer film(24); // 41.67 ms: every budget 41 or 42, exact on average
    long long filmTotal = 0;
    for (int i = 0; i < 2400; ++i) {
        const int budget = film.nextBudget();
        EXPECT_TRUE(budget == 41 || budget == 42);
        filmTotal += budget;
    }
    EXPECT_NEAR(filmTotal, 100000, 1);
    FramePacer even(50);
    EXPECT_EQ(even.nextBudget(), 20);
    EXPECT_EQ(even.nextBudget(), 20);

    pacer.reset();
    EXPECT_EQ(pacer.nextBudget(), 16);
    FramePacer broken(0); // never divides by zero
    EXPECT_GT(broken.nextBudget(), 0);
}

TEST(FramePacer, DelayIsWhatIsLeftOfTheBudget) {
    EXPECT_EQ(FramePacer::delayFor(16, 1000, 1004), 12);
    EXPECT_EQ(FramePacer::delayFor(17, 1000, 1017), 0);
    // An overrun waits not at all and is not made up later.
    EXPECT_LT(FramePacer::delayFor(16, 1000, 1030), 0);
    // The tick counter wrapping round does not make a huge wait.
    EXPECT_EQ(FramePacer::delayFor(16, 0xFFFFFFFEu, 3u), 11);
}
