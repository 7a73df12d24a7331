import QtQuick
import QtWebEngine

// The advert page alone: no bars, no context menu, no new windows, nothing dropped on it
// opens. `arrived` tells of each document (the page's or a frame's) as it is committed,
// before its pictures and other parts have loaded: a part that never comes must not keep
// the panel out of sight.
WebEngineView {
    id: page
    required property string arrivalToken
    signal arrived(string url)

    settings.javascriptCanOpenWindows: false
    settings.showScrollBars: true
    onContextMenuRequested: request => request.accepted = true
    // newWindowRequested is left unhandled: the web engine then opens nothing.
    onJavaScriptConsoleMessage: (level, message, lineNumber, sourceId) => {
        const prefix = arrivalToken + " ";
        if (message.startsWith(prefix))
            arrived(message.substring(prefix.length));
    }
    // The token keeps the page's own console messages from passing for arrivals: the script
    // runs in a world of its own, out of the page's reach. The web engine's own error page
    // (a server that is down, no network) is no arrival.
    Component.onCompleted: userScripts.collection = [{
            "name": "arrival",
            "worldId": WebEngineScript.ApplicationWorld,
            "injectionPoint": WebEngineScript.DocumentCreation,
            "runsOnSubFrames": true,
            "sourceCode": "if (location.protocol !== 'chrome-error:') console.info("
                          + JSON.stringify(arrivalToken + " ") + " + document.URL);"
        }]

    // Drags end here, above the page, so a dropped link or file never navigates it.
    DropArea {
        anchors.fill: parent
    }
}
