#include "support/registry_case.h"

#include "runtime/text.h"
#include "script/model.h"
#include "support/winfiles.h"

void RegistryCase::SetUp() {
    std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    sandbox_.reset(new RegistrySandbox(name));
    ASSERT_TRUE(sandbox_->Ready());
    dir_ = MakeScratchDir(name);
    TextCopy(Shared::InstallDir, kDirWidth, dir_.c_str());
    inf_ = dir_ + "\\SETUP.INF";
    SetSampleProfile("1");
}

void RegistryCase::TearDown() {
    sandbox_.reset();
    RemoveTree(dir_);
}
