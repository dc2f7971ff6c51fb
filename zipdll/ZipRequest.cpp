#include "zipdll/ZipRequest.h"

#include <algorithm>

#include "engineapi/EngineReporter.h"
#include "util/Codepage.h"

namespace zipdll {

ZipRequest ReadZipRequest(const ZipCallBlock& block) {
    ZipRequest r;
    r.archive =
        util::Cp1252ToUtf8(engineapi::CallBlockText(block.ZipFilename, kArchiveNameBufferSize));
    r.rawSpecs = block.PackedSpecs == kPackedSpecs && block.Delete != 0 && block.SpecCount == 1
                     ? engineapi::PackedCallBlockSpecs(block.FileSpecs[0], block.PackedSize)
                     : engineapi::CallBlockSpecs(block.FileSpecs, block.SpecCount);
    for (const std::string& spec : r.rawSpecs) {
        r.specs.push_back(util::Cp1252ToUtf8(spec));
    }
    r.password = engineapi::CallBlockText(block.Password, kPasswordBufferSize);
    r.level = std::clamp<std::int32_t>(block.Level, 0, 9);
    r.remove = block.Delete != 0;
    r.verbose = block.Verbose != 0 || block.Trace != 0;
    r.encrypt = block.Encrypt != 0;
    r.traditional = block.EncryptMethod == kEncryptTraditional;
    r.hiddenFiles = block.HiddenFiles != 0;
    r.keepFolders = block.NoDirNames == 0;
    r.recurse = block.Recurse != 0;
    r.dosNames = block.ForceDos != 0;
    r.move = block.Move != 0;
    r.update = block.Update != 0;
    r.freshen = block.Freshen != 0 && !r.update;
    r.zipTime = block.ZipTime != 0;
    return r;
}

} // namespace zipdll
