#include "app/Options.h"

#include "platform/Files.h"

namespace app {

Options ParseOptions(const std::vector<std::string>& arguments) {
    Options options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        auto value = [&](const char* name) -> std::string {
            if (i + 1 >= arguments.size()) {
                options.error = std::string("falta o valor de ") + name;
                return {};
            }
            return arguments[++i];
        };
        if (arg == "--help" || arg == "-h")
            options.help = true;
        else if (arg == "--version")
            options.version = true;
        else if (arg == "--data")
            options.dataFolder = value("--data");
        else if (arg.rfind("--data=", 0) == 0)
            options.dataFolder = arg.substr(7);
        else if (arg == "--screenshot")
            options.screenshot = value("--screenshot");
        else if (arg.rfind("--screenshot=", 0) == 0)
            options.screenshot = arg.substr(13);
        else
            options.error = "opção desconhecida: " + arg;
        if (!options.error.empty()) return options;
    }
    if (options.dataFolder.empty()) {
        const DefaultCollection collection = FindDefaultCollection(platform::ExecutableDirectory());
        options.dataFolder = collection.folder;
        options.installedCollection = collection.installed;
    }
    return options;
}

DefaultCollection FindDefaultCollection(const std::string& executableDirectory) {
    const std::string beside = executableDirectory + "output/";
    if (platform::DirectoryExists(beside)) return {beside, false};
    const std::string installed =
        platform::ExpandFileName(executableDirectory + VULTARIA_INSTALLED_COLLECTION) + "/";
    if (platform::DirectoryExists(installed)) return {installed, true};
    return {beside, false};
}

std::string VersionText() {
    return "vultaria " VULTARIA_VERSION "\n";
}

const char* UsageText() {
    return "Uso: vultaria [--data PASTA] [--screenshot ARQUIVO.png]\n"
           "  --data PASTA          a coleção de biografias (padrão: output/ ao lado do programa,\n"
           "                        senão a coleção instalada com ele)\n"
           "  --screenshot ARQUIVO  grava uma imagem da janela depois de aberta e sai\n"
           "  --version             mostra a versão do programa\n"
           "  --help                mostra esta ajuda\n";
}

}  // namespace app
