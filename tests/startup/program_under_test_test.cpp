// The suite checks the file it means to: in the 32-bit suite, the shipped
// 32-bit program, running under WoW64 as on users' 64-bit Windows; in the
// 64-bit suite, its 64-bit twin.
#include "support/child_process.h"
#include "support/test_paths.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>

namespace {

// The machine field of a PE file's header, or 0 when the file is no PE.
WORD PeMachine(const std::wstring& path)
{
    std::ifstream file(path.c_str(), std::ios::binary);
    IMAGE_DOS_HEADER dos{};
    if (!file.read(reinterpret_cast<char*>(&dos), sizeof(dos)) || dos.e_magic != IMAGE_DOS_SIGNATURE)
        return 0;
    DWORD signature = 0;
    IMAGE_FILE_HEADER header{};
    if (!file.seekg(dos.e_lfanew) || !file.read(reinterpret_cast<char*>(&signature), sizeof(signature)) ||
        signature != IMAGE_NT_SIGNATURE || !file.read(reinterpret_cast<char*>(&header), sizeof(header)))
        return 0;
    return header.Machine;
}

TEST(ProgramUnderTest, IsTheBuildOfThisSuitesArchitecture)
{
    const bool suiteIs32Bit = std::strcmp(CS_ARCH, "i686") == 0;
    EXPECT_EQ(PeMachine(ProgramUnderTestPath()), suiteIs32Bit ? IMAGE_FILE_MACHINE_I386 : IMAGE_FILE_MACHINE_AMD64)
        << "suite " << CS_ARCH;
    EXPECT_EQ(sizeof(void*), suiteIs32Bit ? 4u : 8u);
}

// The process runs in a 64-bit prefix, as a 32-bit program under WoW64 does
// on a 64-bit Windows: the system reports it as such.
TEST(ProgramUnderTest, RunsAsOnUsersMachines)
{
    ChildProcess program(Quoted(ProgramUnderTestPath()));  // no names: it ends at once, with 0
    ASSERT_TRUE(program.Started());
    BOOL wow64 = TRUE;
    ASSERT_TRUE(::IsWow64Process(program.Handle(), &wow64));
    EXPECT_EQ(wow64 != FALSE, std::strcmp(CS_ARCH, "i686") == 0);
    DWORD exitCode = 1;
    ASSERT_TRUE(program.Wait(10000, &exitCode));
    EXPECT_EQ(exitCode, 0u);
}

}  // namespace
