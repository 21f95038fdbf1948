// The qorin tool's subcommands. Each takes the arguments after its name.
#pragma once

namespace qorin::cli {

int RunPack(int argc, char** argv);
int RunVerify(int argc, char** argv);
int RunLs(int argc, char** argv);
int RunExtract(int argc, char** argv);
int RunImage(int argc, char** argv);
int RunScript(int argc, char** argv);
int RunCheck(int argc, char** argv);
int RunCheckSkin(int argc, char** argv);
int RunLayout(int argc, char** argv);
int RunHelp(int argc, char** argv);
int RunDoc(int argc, char** argv);

}  // namespace qorin::cli
