#pragma once
// The editor's dialog tests: a settings module for the dialogs that read it,
// and the signal table's entry forms made as the program makes them.

#include "platform/gui/GuiTest.h"

#include "common/TestEnv.h"
#include "document/DriversInfo.h"
#include "document/InitModule.h"
#include "editor/AddDriver.h"
#include "editor/AddPin.h"
#include "editor/AddTypeDrv.h"
#include "editor/ModalScript.h"

class EditorTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        if (!InitModule) ownSettings_ = new TInitModule(nullptr);
        AddDriverForm = MakeForm<TAddDriverForm>();
        AddPinForm = MakeForm<TAddPinForm>();
        AddTypeDrvForm = MakeForm<TAddTypeDrvForm>();
    }
    void TearDown() override {
        GuiTest::TearDown();
        delete ownSettings_;
        ownSettings_ = nullptr;
        SetDriversInUse(nullptr);
    }

    testenv::TempDir dir;

private:
    TInitModule* ownSettings_ = nullptr;
};
