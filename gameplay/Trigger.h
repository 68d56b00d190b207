#pragma once

#include <string>

#include "scene/GameObject.h"

// An invisible zone with a type; the level's ground is a "Sol" trigger.
class Trigger : public GameObject {
public:
    void setType(const std::string& value) { type = value; }
    std::string getType() const { return type; }

    const char* getClassName() const override { return "Trigger"; }

private:
    std::string type;
};
