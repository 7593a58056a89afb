// A test of the registration code on its own registry and files: the roots mapped onto a
// sandbox named for the test, a scratch installation directory as InstallDir (its
// SETUP.INF is the journal), and the sample driver profile. Everything goes at the end.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/registry_util.h"

class RegistryCase : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    std::unique_ptr<RegistrySandbox> sandbox_;
    std::string dir_;
    std::string inf_;
};
