#pragma once

#include <list>
#include <string>

#include "scene/GameObject.h"

class GameState;
class Target;

// The targets of one layout, picked at random from a list, as children;
// routes the hero's shots to the first target that takes them.
class TargetGroup : public GameObject {
public:
    TargetGroup();
    ~TargetGroup() override;

    // False, with failure() telling why, when a file is missing or ends early.
    bool loadLayoutList(const char* listFile);
    bool chooseLayout(GameState* state);
    const std::string& failure() const { return loadFailure; }

    void fire(Position point);
    void release();

    const std::list<std::string>& getLayoutFiles() const { return layoutFiles; }
    Target* getCurrentTarget() const { return currentTarget; }
    const std::list<Target*>& getTargets() const { return ownedTargets; }

private:
    std::list<std::string> layoutFiles;
    Target* currentTarget;
    std::list<Target*> ownedTargets;
    std::string loadFailure;
};
