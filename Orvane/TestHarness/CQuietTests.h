#pragma once
#include "Core/CTestBase.h"

// Test objects of developers whose checks are not part of the shipped program: they start, run and close,
// doing nothing.
class CBrennaTests : public CTestBase
{};

class CIsoldeTests : public CTestBase
{};

class CWeylandTests : public CTestBase
{};
