// The names test_scanner_workflows.cpp used from the serial tests' old helper header, mapped onto
// the test-support library until that test moves to it (then this file goes). readFile is not
// among them: JobTestSupport.h declares the one this test calls.
#pragma once

#include "FileContent.h"
#include "PdxSimProcess.h"
#include "RecordingMessageSink.h"
#include "TemporaryFolder.h"

using TempFolder = testsupport::TemporaryFolder;
using CapturedMessages = testsupport::RecordingMessageSink;
using testsupport::fileExists;
using testsupport::PdxSimProcess;
using testsupport::writeFile;
