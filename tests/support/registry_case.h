// A test of the registration code on its own registry and files: the roots mapped onto a
// sandbox named for the test, a scratch installation directory as InstallDir (its
// SETUP.INF is the journal), and the sample driver profile. Everything goes at the end.
// Kept inline: the support library is linked before the program code.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "runtime/text.h"
#include "script/model.h"
#include "support/registry_util.h"
#include "support/winfiles.h"

class RegistryCase : public ::testing::Test {
protected:
    void SetUp() override {
        std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        sandbox_.reset(new RegistrySandbox(name));
        ASSERT_TRUE(sandbox_->Ready());
        dir_ = MakeScratchDir(name);
        TextCopy(InstallDir, kDirWidth, dir_.c_str());
        inf_ = dir_ + "\\SETUP.INF";
        SetSampleProfile("1");
    }
    void TearDown() override {
        sandbox_.reset();
        RemoveTree(dir_);
    }

    std::unique_ptr<RegistrySandbox> sandbox_;
    std::string dir_;
    std::string inf_;
};
