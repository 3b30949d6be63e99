// The dock's application manifest (src/Pondwillow.rc), linked into this test
// program, as the system's loader reads it: the activation context that the
// loader makes from it for the process.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

std::string embeddedManifest()
{
    const HRSRC resource = FindResourceW(nullptr, MAKEINTRESOURCEW(1), RT_MANIFEST);
    if (resource == nullptr)
        return {};
    const HGLOBAL data = LoadResource(nullptr, resource);
    return std::string(static_cast<const char*>(LockResource(data)),
                       SizeofResource(nullptr, resource));
}

TEST(Manifest, RunsWithTheInvokingUsersRights)
{
    // Elevation is the one setting no activation context reports: the
    // resource itself is read.
    const std::string manifest = embeddedManifest();
    ASSERT_FALSE(manifest.empty());
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
}

TEST(Manifest, DeclaresTheProcessDpiUnaware)
{
    wchar_t value[32] = {};
    SIZE_T written = 0;
    ASSERT_TRUE(QueryActCtxSettingsW(0, nullptr,
                                     L"http://schemas.microsoft.com/SMI/2005/WindowsSettings",
                                     L"dpiAware", value, std::size(value), &written));
    EXPECT_STREQ(value, L"false");
}

TEST(Manifest, RedirectsTheCommonControlsToVersion6)
{
    ACTCTX_SECTION_KEYED_DATA data{};
    data.cbSize = sizeof data;
    ASSERT_TRUE(FindActCtxSectionStringW(FIND_ACTCTX_SECTION_KEY_RETURN_HACTCTX, nullptr,
                                         ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION,
                                         L"comctl32.dll", &data))
        << "comctl32.dll comes from no side-by-side assembly";

    // The identity of the assembly that provides it.
    SIZE_T needed = 0;
    QueryActCtxW(0, data.hActCtx, &data.ulAssemblyRosterIndex,
                 AssemblyDetailedInformationInActivationContext, nullptr, 0, &needed);
    ASSERT_GT(needed, 0u);
    std::vector<char> buffer(needed);
    ASSERT_TRUE(QueryActCtxW(0, data.hActCtx, &data.ulAssemblyRosterIndex,
                             AssemblyDetailedInformationInActivationContext, buffer.data(),
                             buffer.size(), &needed));
    ReleaseActCtx(data.hActCtx);
    const auto* info =
        reinterpret_cast<const ACTIVATION_CONTEXT_ASSEMBLY_DETAILED_INFORMATION*>(buffer.data());
    const std::wstring identity = info->lpAssemblyEncodedAssemblyIdentity;
    EXPECT_NE(identity.find(L"Microsoft.Windows.Common-Controls"), std::wstring::npos) << identity;
    EXPECT_NE(identity.find(L"version=\"6."), std::wstring::npos) << identity;
}

} // namespace
