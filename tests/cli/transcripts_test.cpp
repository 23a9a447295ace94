// The `ztl` command and `ztl serve`, driven as a user and a client drive them: every transcript
// of transcripts/ replayed against the command built here.

#include <gtest/gtest.h>

#include "run_ztl.hpp"

namespace {

using ztl_cli_test::ReplayServeTranscript;
using ztl_cli_test::ReplayShellTranscript;

TEST(Ztl, HelpListDescribeAndServeFraming) { ReplayShellTranscript("commands.sh.txt"); }
TEST(Ztl, Call) { ReplayShellTranscript("call.sh.txt"); }
TEST(Ztl, ByteToolsResourcesAndWriteErrors) { ReplayShellTranscript("bytes.sh.txt"); }

TEST(Serve, Sessions) { ReplayServeTranscript("serve.rpc.txt"); }
TEST(Serve, Errors) { ReplayServeTranscript("errors.rpc.txt"); }
TEST(Serve, Describe) { ReplayServeTranscript("describe.rpc.txt"); }

}  // namespace
