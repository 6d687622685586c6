#pragma once
// Puts the shipped data beside the program: the data folder (paper
// catalogue and layouts), the templates "テンプレート" and the picture
// material "素材", and names the data folder in the registry store. Run by
// the build for the build tree; never removes what the user made. An
// installed program finds its data itself and registers its control.
#include <string>
#include <string_view>

namespace lx {

// The catalogue to install: the shipped one, followed by the user's own
// papers (category 14) of the installed one that the shipped one lacks.
std::string MergedCatalogue(std::string_view shipped, std::string_view installed);

// Copies every file of sourceData into programFolder/data and of
// sourceShipped into programFolder (files that are missing or differ; user
// papers and other extra files stay), merges "paper.cfg", and writes
// DataDir = programFolder/data/ into the registry store registryFile when it
// says otherwise. Paths are UTF-8. Throws Error on failure.
void InstallShippedData(const std::string& sourceData, const std::string& sourceShipped,
                        const std::string& programFolder, const std::string& registryFile);

// The control library installed with a program in <prefix>/bin:
// <prefix>/lib/libMatrixelPro.so (UTF-8); empty when there is none.
std::string InstalledControlLibrary(const std::string& programFolder);
// Registers that library in the default registry store unless the store
// already names a control library that exists. When the store cannot take
// it, the library is registered for this run only and the returned message
// tells the user so; otherwise the result is empty. Throws Error when the
// library cannot be loaded.
std::string RegisterInstalledControl(const std::string& programFolder);

} // namespace lx
