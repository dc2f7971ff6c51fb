#include "unzdll/ExtractRequest.h"

#include <algorithm>

#include "engineapi/EngineReporter.h"
#include "util/Codepage.h"

namespace unzdll {

ExtractRequest ReadExtractRequest(const UnzCallBlock& block) {
    ExtractRequest r;
    r.archive =
        util::Cp1252ToUtf8(engineapi::CallBlockText(block.ZipFilename, kArchiveNameBufferSize));
    r.specs = engineapi::CallBlockSpecs(block.FileSpecs, block.SpecCount);
    r.password = engineapi::CallBlockText(block.Password, kPasswordBufferSize);
    r.verbose = block.Verbose != 0 || block.Trace != 0;
    r.test = block.Test != 0;
    r.update = block.Update != 0;
    r.freshen = block.Freshen != 0 && !r.update;
    r.keepFolders = block.DirNames != 0;
    r.overwrite = block.Overwrite != 0;
    r.namesCodePage = block.NamesCodePage > 0 ? static_cast<unsigned>(block.NamesCodePage) : 0;
    return r;
}

} // namespace unzdll
