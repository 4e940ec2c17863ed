#pragma once
#include <memory>

class TBuilding;
class THabitant;
class THabitantPool;

// The rules the inhabitant pool asks for, as an object of their own so they can be swapped.
class THabitantControl {
public:
    virtual ~THabitantControl() = default;
    virtual std::shared_ptr<THabitant> getHabitant(const TBuilding& building, THabitantPool& pool);
    virtual void updateHabitant(THabitant& h, THabitantPool& pool);
    virtual float getLevel1Request(THabitantPool& pool);
};
