#ifndef INSTRUMENTNAMES_H
#define INSTRUMENTNAMES_H

// The instrument's fixed names, each written here once: the roots of its storage and the names of its
// parameter services. Every part of the module takes them from here.
namespace InstrumentNames {
// The product's folder under "/user/", and the product name the environment reports.
constexpr char productName[] = "TK520";
constexpr char userRoot[] = "/user/";
// The interface's own folder under "/base/", and the private data of its hetnet screens inside it.
constexpr char qmlDirName[] = "qml_4410";
constexpr char baseRoot[] = "/base/";
constexpr char hetnetPrivateDir[] = "/base/qml_4410/hetnet_private";
// The 5G screens' own storage: favourites and map profiles live in hidden folders under it.
constexpr char fiveGStorage[] = "/user/tarnwick5G/internal/";
// An application's parameter service is this prefix and the application's name.
constexpr char servicePrefix[] = "gem.base.";
constexpr char starterService[] = "gem.base.starter_app";
} // namespace InstrumentNames

#endif // INSTRUMENTNAMES_H
