<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es" sourcelanguage="en">
<context>
    <name>AlertPanel</name>
    <message>
        <source>Unable to Find Resource For:</source>
        <translation>No se encuentra el recurso:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
</context>
<context>
    <name>BarcodeChooser</name>
    <message>
        <source>Type a barcode</source>
        <translation>Escriba un código de barras</translation>
    </message>
    <message numerus="yes">
        <source>%n photo(s)</source>
        <translation>
            <numerusform>%n foto</numerusform>
            <numerusform>%n fotos</numerusform>
        </translation>
    </message>
    <message>
        <source>Choose</source>
        <translation>Elegir</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
</context>
<context>
    <name>ClockPanel</name>
    <message>
        <source>Shift the camera clock:</source>
        <translation>Desplazar el reloj de la cámara:</translation>
    </message>
    <message>
        <source> s</source>
        <comment>seconds</comment>
        <translation> s</translation>
    </message>
    <message>
        <source>Seconds added to every camera time. The shoot is matched again as the value changes; Undo puts the earlier match back.</source>
        <translation>Segundos que se suman a cada hora de la cámara. La sesión se empareja de nuevo al cambiar el valor; Deshacer recupera el emparejamiento anterior.</translation>
    </message>
    <message>
        <source>Align on a photo...</source>
        <translation>Alinear con una foto...</translation>
    </message>
    <message>
        <source>Pick the barcode that the selected photo shows: the clocks are lined up so that it sits under it, and the shoot is matched again.</source>
        <translation>Elija el código de barras del sujeto que muestra la foto seleccionada: los relojes se alinean para que quede bajo ese código y la sesión se empareja de nuevo.</translation>
    </message>
    <message>
        <source>No clocks to line up: the shoot could not be matched.</source>
        <translation>No hay relojes que alinear: no se pudo emparejar la sesión.</translation>
    </message>
    <message>
        <source>Clocks: %1</source>
        <translation>Relojes: %1</translation>
    </message>
    <message>
        <source>&lt;b&gt;The clocks could not be lined up with confidence: %1.&lt;/b&gt; Check every photo, or shift the camera clock until the photos sit under their subjects.</source>
        <translation>&lt;b&gt;No se pudieron alinear los relojes con seguridad: %1.&lt;/b&gt; Revise cada foto, o desplace el reloj de la cámara hasta que las fotos queden bajo sus sujetos.</translation>
    </message>
</context>
<context>
    <name>GeneralPreferencesDialog</name>
    <message>
        <source>VeskBarcode Preferences</source>
        <translation>Preferencias de VeskBarcode</translation>
    </message>
    <message>
        <source>Matching</source>
        <translation>Emparejamiento</translation>
    </message>
    <message>
        <source>Line up the camera and scanner clocks automatically</source>
        <translation>Alinear automáticamente los relojes de la cámara y del escáner</translation>
    </message>
    <message>
        <source>VeskBarcode works out how far the camera clock is from the scanner&apos;s (minutes, hours or days, and a clock that runs fast or slow, for each camera body) from the scans and photos themselves, marks the photos whose place is in doubt and warns when it cannot line the clocks up with confidence.</source>
        <translation>VeskBarcode calcula a partir de las propias lecturas y fotos cuánto se aparta el reloj de la cámara del del escáner (minutos, horas o días, y un reloj que adelanta o atrasa, para cada cuerpo de cámara), marca las fotos cuyo lugar es dudoso y avisa cuando no puede alinear los relojes con seguridad.</translation>
    </message>
    <message>
        <source>Recommended. VeskBarcode finds how far apart the two clocks are from the pauses between subjects, and marks the photos whose place is in doubt. For example, a camera set 13 minutes behind the scanner, or still on last season&apos;s time, needs nothing from you.</source>
        <translation>Recomendado. VeskBarcode averigua la diferencia entre los dos relojes a partir de las pausas entre sujetos y marca las fotos cuyo lugar es dudoso. Por ejemplo, una cámara 13 minutos por detrás del escáner, o que sigue con la hora de la temporada anterior, no necesita nada de usted.</translation>
    </message>
    <message>
        <source>Take the last scan and the last photo as taken at the same moment</source>
        <translation>Tomar la última lectura y la última foto como hechas en el mismo momento</translation>
    </message>
    <message>
        <source>The old way: right only when the shoot ended with the last subject&apos;s photos, taken the skew below after its scan.</source>
        <translation>El método antiguo: solo acierta cuando la sesión terminó con las fotos del último sujeto, hechas el desfase de abajo después de su lectura.</translation>
    </message>
    <message>
        <source>The old way. Right only when the shoot ended with the last subject&apos;s photos: test shots after the last subject, or a last card scanned for someone who was absent, shift every photo.</source>
        <translation>El método antiguo. Solo acierta cuando la sesión terminó con las fotos del último sujeto: unas fotos de prueba después del último sujeto, o una última tarjeta leída de alguien ausente, desplazan todas las fotos.</translation>
    </message>
    <message>
        <source> s</source>
        <translation> s</translation>
    </message>
    <message>
        <source>How long after the last scan of the shoot its last photo was taken.</source>
        <translation>Cuánto después de la última lectura de la sesión se hizo su última foto.</translation>
    </message>
    <message>
        <source>Clock skew between scan and photo:</source>
        <translation>Desfase de reloj entre lectura y foto:</translation>
    </message>
    <message>
        <source>Only for the old way: how long after the last scan of the shoot its last photo was taken. For example, the last card scanned at 15:42:10 and that subject&apos;s last photo taken at 15:42:40: enter 30 s. Too small puts each subject&apos;s first photos under the subject before; too large puts its last photos under the next one.</source>
        <translation>Solo para el método antiguo: cuánto después de la última lectura de la sesión se hizo su última foto. Por ejemplo, la última tarjeta leída a las 15:42:10 y la última foto de ese sujeto hecha a las 15:42:40: escriba 30 s. Si es demasiado pequeño, las primeras fotos de cada sujeto quedan bajo el sujeto anterior; si es demasiado grande, sus últimas fotos quedan bajo el siguiente.</translation>
    </message>
    <message>
        <source>Let me review the matches before they go to Vesk-X</source>
        <translation>Dejarme revisar el emparejamiento antes de enviarlo a Vesk-X</translation>
    </message>
    <message>
        <source>Shows the review window, where photos can be moved between barcodes.</source>
        <translation>Muestra la ventana de revisión, donde las fotos se pueden mover entre códigos de barras.</translation>
    </message>
    <message>
        <source>Name the previous and next barcode in the matched list (always on)</source>
        <translation>Nombrar el código anterior y el siguiente en la lista emparejada (siempre activado)</translation>
    </message>
    <message>
        <source>Barcode data file</source>
        <translation>Archivo de códigos de barras</translation>
    </message>
    <message>
        <source>Looked for in the job folder when BarcodeDataSource.txt is not there.</source>
        <translation>Se busca en la carpeta del trabajo cuando no está BarcodeDataSource.txt.</translation>
    </message>
    <message>
        <source>Other data file name:</source>
        <translation>Otro nombre de archivo de datos:</translation>
    </message>
    <message>
        <source>Ask me for a data file when none is found</source>
        <translation>Pedirme un archivo de datos cuando no se encuentre ninguno</translation>
    </message>
    <message>
        <source>Opens a file chooser instead of failing the job when the folder has no data file.</source>
        <translation>Abre un selector de archivos en lugar de hacer fallar el trabajo cuando la carpeta no tiene archivo de datos.</translation>
    </message>
    <message>
        <source>Skip the scanner: match with a data file I choose</source>
        <translation>Saltar el escáner: emparejar con un archivo de datos que yo elija</translation>
    </message>
    <message>
        <source>The job does not connect to the scanner and goes straight to matching.</source>
        <translation>El trabajo no se conecta al escáner y pasa directamente al emparejamiento.</translation>
    </message>
    <message>
        <source>Testing</source>
        <translation>Pruebas</translation>
    </message>
    <message>
        <source>Internal testing mode</source>
        <translation>Modo de pruebas internas</translation>
    </message>
    <message>
        <source>Asks before each download and never erases the scanner. For trying out the program.</source>
        <translation>Pregunta antes de cada descarga y nunca borra el escáner. Para probar el programa.</translation>
    </message>
    <message>
        <source>Factory Settings</source>
        <translation>Valores de fábrica</translation>
    </message>
    <message>
        <source>Problem With awakeFromNib:</source>
        <translation>Problema al abrir las preferencias:</translation>
    </message>
    <message>
        <source>The preference store could not be opened; changes will not be kept.</source>
        <translation>No se pudo abrir el almacén de preferencias; los cambios no se guardarán.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
</context>
<context>
    <name>ImageListBuilder</name>
    <message>
        <source>Sorting the Image File List...</source>
        <translation>Ordenando la lista de fotos...</translation>
    </message>
</context>
<context>
    <name>JobChecklistView</name>
    <message>
        <source>VeskBarcode: job ended</source>
        <translation>VeskBarcode: trabajo terminado</translation>
    </message>
    <message>
        <source>This job</source>
        <translation>Este trabajo</translation>
    </message>
    <message numerus="yes">
        <source>about %n min left</source>
        <translation>
            <numerusform>queda %n min aprox.</numerusform>
            <numerusform>quedan %n min aprox.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>about %n s left</source>
        <translation>
            <numerusform>queda %n s aprox.</numerusform>
            <numerusform>quedan %n s aprox.</numerusform>
        </translation>
    </message>
    <message>
        <source>Vesk-X gave a folder that cannot be used: choose the job&apos;s folder in Vesk-X and start again.</source>
        <translation>Vesk-X ha indicado una carpeta que no se puede usar: elija la carpeta del trabajo en Vesk-X y empiece de nuevo.</translation>
    </message>
    <message>
        <source>The photo list could not be written: check that the job folder is on a disk with room and that you may write in it.</source>
        <translation>No se ha podido escribir la lista de fotos: compruebe que la carpeta del trabajo está en un disco con espacio y que puede escribir en ella.</translation>
    </message>
    <message>
        <source>Cancelled: nothing was changed on the scanner. Start the job again from Vesk-X when you are ready.</source>
        <translation>Cancelado: no se ha cambiado nada en el escáner. Vuelva a empezar el trabajo desde Vesk-X cuando esté listo.</translation>
    </message>
    <message>
        <source>No serial port: plug the scanner&apos;s cable in, then press Rescan Ports and Connect to Scanner.</source>
        <translation>No hay puerto serie: enchufe el cable del escáner y pulse Buscar puertos de nuevo y Conectar con el escáner.</translation>
    </message>
    <message>
        <source>No scanner answered: check that it is switched on, in its cradle and plugged in, then press Connect to Scanner.</source>
        <translation>Ningún escáner ha respondido: compruebe que está encendido, en su base y enchufado, y pulse Conectar con el escáner.</translation>
    </message>
    <message>
        <source>No scanner is connected: press Connect to Scanner first.</source>
        <translation>No hay ningún escáner conectado: pulse antes Conectar con el escáner.</translation>
    </message>
    <message>
        <source>The download broke off: the scans are still on the scanner. Check the cable and press Download Scans.</source>
        <translation>La descarga se ha interrumpido: las lecturas siguen en el escáner. Compruebe el cable y pulse Descargar lecturas.</translation>
    </message>
    <message>
        <source>Nothing could be matched: see the messages below. The scanner was not erased.</source>
        <translation>No se ha podido emparejar nada: vea los mensajes de abajo. El escáner no se ha borrado.</translation>
    </message>
    <message>
        <source>Back to Vesk-X without a match: the scanner was not erased.</source>
        <translation>De vuelta a Vesk-X sin emparejar: el escáner no se ha borrado.</translation>
    </message>
    <message>
        <source>The scanner could not be erased: its scans are still on it. Erase it at the next job, or press Erase Scanner.</source>
        <translation>No se ha podido borrar el escáner: sus lecturas siguen en él. Bórrelo en el próximo trabajo o pulse Borrar el escáner.</translation>
    </message>
    <message numerus="yes">
        <source>%n photo(s) listed</source>
        <translation>
            <numerusform>%n foto en la lista</numerusform>
            <numerusform>%n fotos en la lista</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 (%n without a date)</source>
        <translation>
            <numerusform>%1 (%n sin fecha)</numerusform>
            <numerusform>%1 (%n sin fecha)</numerusform>
        </translation>
    </message>
    <message>
        <source>Listing photos: file %1 of %2</source>
        <translation>Listando las fotos: archivo %1 de %2</translation>
    </message>
    <message>
        <source>Listing photos...</source>
        <translation>Listando las fotos...</translation>
    </message>
    <message>
        <source>List the photos</source>
        <translation>Listar las fotos</translation>
    </message>
    <message numerus="yes">
        <source>Scanner %1 found: %n scan(s)</source>
        <translation>
            <numerusform>Escáner %1 encontrado: %n lectura</numerusform>
            <numerusform>Escáner %1 encontrado: %n lecturas</numerusform>
        </translation>
    </message>
    <message>
        <source>Scanner not needed: the scans are already in the folder</source>
        <translation>No hace falta el escáner: las lecturas ya están en la carpeta</translation>
    </message>
    <message>
        <source>Looking for the scanner...</source>
        <translation>Buscando el escáner...</translation>
    </message>
    <message>
        <source>Find the scanner</source>
        <translation>Encontrar el escáner</translation>
    </message>
    <message numerus="yes">
        <source>%n scan(s) downloaded</source>
        <translation>
            <numerusform>%n lectura descargada</numerusform>
            <numerusform>%n lecturas descargadas</numerusform>
        </translation>
    </message>
    <message>
        <source>No download needed</source>
        <translation>No hace falta descargar</translation>
    </message>
    <message>
        <source>Downloading: scan %1 of %2</source>
        <translation>Descargando: lectura %1 de %2</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <translation>%1, %2</translation>
    </message>
    <message>
        <source>Downloading the scans...</source>
        <translation>Descargando las lecturas...</translation>
    </message>
    <message>
        <source>Download the scans</source>
        <translation>Descargar las lecturas</translation>
    </message>
    <message>
        <source>Matched %1 to %2: %3, %4</source>
        <translation>Emparejadas %1 con %2: %3, %4</translation>
    </message>
    <message numerus="yes">
        <source>%n photo(s)</source>
        <translation>
            <numerusform>%n foto</numerusform>
            <numerusform>%n fotos</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n scan(s)</source>
        <translation>
            <numerusform>%n lectura</numerusform>
            <numerusform>%n lecturas</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n doubtful photo(s)</source>
        <translation>
            <numerusform>%n foto dudosa</numerusform>
            <numerusform>%n fotos dudosas</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n barcode(s) without photos</source>
        <translation>
            <numerusform>%n código sin fotos</numerusform>
            <numerusform>%n códigos sin fotos</numerusform>
        </translation>
    </message>
    <message>
        <source>Matching photos to scans; review the match...</source>
        <translation>Emparejando las fotos con las lecturas; revise el emparejamiento...</translation>
    </message>
    <message>
        <source>Match the photos to the scans</source>
        <translation>Emparejar las fotos con las lecturas</translation>
    </message>
    <message>
        <source>Vesk-X confirmed the job</source>
        <translation>Vesk-X ha confirmado el trabajo</translation>
    </message>
    <message>
        <source>Waiting for Vesk-X to confirm</source>
        <translation>Esperando a que Vesk-X confirme</translation>
    </message>
    <message>
        <source>Vesk-X confirms the job</source>
        <translation>Vesk-X confirma el trabajo</translation>
    </message>
    <message>
        <source>Scanner erased</source>
        <translation>Escáner borrado</translation>
    </message>
    <message>
        <source>Testing mode: the scanner was left as it was</source>
        <translation>Modo de prueba: el escáner se ha dejado como estaba</translation>
    </message>
    <message>
        <source>Erasing the scanner...</source>
        <translation>Borrando el escáner...</translation>
    </message>
    <message>
        <source>Erase the scanner</source>
        <translation>Borrar el escáner</translation>
    </message>
    <message>
        <source>%1 matched to %2</source>
        <translation>%1 emparejadas con %2</translation>
    </message>
    <message>
        <source>%1; scanner erased</source>
        <translation>%1; escáner borrado</translation>
    </message>
    <message>
        <source>%1; testing mode, the scanner was not erased</source>
        <translation>%1; modo de prueba, el escáner no se ha borrado</translation>
    </message>
    <message>
        <source>%1; the scanner could NOT be erased, its scans are still on it</source>
        <translation>%1; NO se ha podido borrar el escáner, sus lecturas siguen en él</translation>
    </message>
    <message>
        <source>%1; Vesk-X did not confirm, the scanner was not erased</source>
        <translation>%1; Vesk-X no ha confirmado, el escáner no se ha borrado</translation>
    </message>
    <message>
        <source>Job cancelled; the scanner was not erased</source>
        <translation>Trabajo cancelado; el escáner no se ha borrado</translation>
    </message>
    <message>
        <source>Nothing could be matched; the scanner was not erased</source>
        <translation>No se ha podido emparejar nada; el escáner no se ha borrado</translation>
    </message>
    <message>
        <source>The folder from Vesk-X could not be used; the scanner was not erased</source>
        <translation>No se ha podido usar la carpeta de Vesk-X; el escáner no se ha borrado</translation>
    </message>
    <message>
        <source>The job was not finished; the scanner was not erased</source>
        <translation>El trabajo no ha terminado; el escáner no se ha borrado</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>VeskBarcode</source>
        <translation>VeskBarcode</translation>
    </message>
    <message>
        <source>Barcode scanner</source>
        <translation>Escáner de códigos de barras</translation>
    </message>
    <message>
        <source>Model:</source>
        <translation>Modelo:</translation>
    </message>
    <message>
        <source>Serial number:</source>
        <translation>Número de serie:</translation>
    </message>
    <message>
        <source>Serial port:</source>
        <translation>Puerto serie:</translation>
    </message>
    <message>
        <source>Rescan Ports</source>
        <translation>Buscar puertos de nuevo</translation>
    </message>
    <message>
        <source>Job</source>
        <translation>Trabajo</translation>
    </message>
    <message>
        <source>List Photos</source>
        <translation>Listar fotos</translation>
    </message>
    <message>
        <source>Prepare Download</source>
        <translation>Preparar descarga</translation>
    </message>
    <message>
        <source>Connect to Scanner</source>
        <translation>Conectar con el escáner</translation>
    </message>
    <message>
        <source>Download Scans</source>
        <translation>Descargar lecturas</translation>
    </message>
    <message>
        <source>Match Photos</source>
        <translation>Emparejar fotos</translation>
    </message>
    <message>
        <source>Erase Scanner</source>
        <translation>Borrar el escáner</translation>
    </message>
    <message>
        <source>Connect and Download</source>
        <translation>Conectar y descargar</translation>
    </message>
    <message>
        <source>Preferences...</source>
        <translation>Preferencias...</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Salir</translation>
    </message>
    <message>
        <source>Messages</source>
        <translation>Mensajes</translation>
    </message>
    <message>
        <source>Click to CLOSE...</source>
        <translation>Pulse para CERRAR...</translation>
    </message>
    <message>
        <source>Click to OPEN...</source>
        <translation>Pulse para ABRIR...</translation>
    </message>
    <message>
        <source>VeskBarcode - %1</source>
        <translation>VeskBarcode - %1</translation>
    </message>
    <message>
        <source>Developer</source>
        <translation>Desarrollo</translation>
    </message>
    <message>
        <source>Read Magnetic-Stripe Test File...</source>
        <translation>Leer archivo de prueba de banda magnética...</translation>
    </message>
    <message>
        <source>The serial port of the scanner. Choose another one when the scanner is connected elsewhere; VeskBarcode remembers your choice.</source>
        <translation>El puerto serie del escáner. Elija otro cuando el escáner esté conectado a otro puerto; VeskBarcode recuerda su elección.</translation>
    </message>
    <message>
        <source>A step of the job is running: wait until it has finished.</source>
        <translation>Hay un paso del trabajo en marcha: espere a que termine.</translation>
    </message>
    <message>
        <source>Connect to the scanner first: the download needs a scanner that has answered.</source>
        <translation>Conecte antes con el escáner: la descarga necesita un escáner que haya respondido.</translation>
    </message>
    <message>
        <source>List the photos first: the match needs the list of photos.</source>
        <translation>Liste antes las fotos: el emparejamiento necesita la lista de fotos.</translation>
    </message>
    <message>
        <source>The scanner is erased only after its scans have been matched and Vesk-X has confirmed the job.</source>
        <translation>El escáner solo se borra después de emparejar sus lecturas y de que Vesk-X confirme el trabajo.</translation>
    </message>
</context>
<context>
    <name>MatchTask</name>
    <message>
        <source>Please Choose A BarCode DATA File...</source>
        <translation>Elija un archivo de DATOS de códigos de barras...</translation>
    </message>
</context>
<context>
    <name>MyApplicationDelegate</name>
    <message>
        <source>Version: %1</source>
        <translation>Versión: %1</translation>
    </message>
    <message>
        <source>Unknown???</source>
        <translation>¿Desconocida?</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>ERROR: EMPTY Source Path Name</source>
        <translation>ERROR: la ruta de la carpeta está VACÍA</translation>
    </message>
    <message>
        <source>Vesk-X passed an empty folder path.</source>
        <translation>Vesk-X entregó una ruta de carpeta vacía.</translation>
    </message>
    <message>
        <source>ERROR: INVALID CHARACTER(s) Found in the Source Path Name:</source>
        <translation>ERROR: la ruta de la carpeta tiene caracteres NO VÁLIDOS:</translation>
    </message>
    <message>
        <source>ERROR: Source Path Name TOO LONG</source>
        <translation>ERROR: la ruta de la carpeta es DEMASIADO LARGA</translation>
    </message>
    <message>
        <source>ERROR: Source Path Name is NOT a Folder:</source>
        <translation>ERROR: la ruta NO es una carpeta:</translation>
    </message>
</context>
<context>
    <name>QtAlertPrompt</name>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Select</source>
        <translation>Elegir</translation>
    </message>
</context>
<context>
    <name>ReviewModel</name>
    <message numerus="yes">
        <source>%n photo(s)</source>
        <translation>
            <numerusform>%n foto</numerusform>
            <numerusform>%n fotos</numerusform>
        </translation>
    </message>
    <message>
        <source>Barcode / photo</source>
        <translation>Código de barras / foto</translation>
    </message>
    <message>
        <source>Barcode %1</source>
        <translation>Código %1</translation>
    </message>
    <message>
        <source>Scanned %1</source>
        <translation>Leído %1</translation>
    </message>
    <message>
        <source>No photo: an absent subject, or a card scanned by mistake.</source>
        <translation>Sin fotos: un sujeto ausente, o una tarjeta leída por error.</translation>
    </message>
    <message>
        <source>Far more photos than the usual %1: two subjects may share this barcode (a card that was not scanned).</source>
        <translation>Muchas más fotos que las %1 habituales: puede que dos sujetos compartan este código (una tarjeta que no se leyó).</translation>
    </message>
    <message>
        <source>Taken %1 by the camera&apos;s clock</source>
        <translation>Hecha a las %1 según el reloj de la cámara</translation>
    </message>
    <message>
        <source>%1 by the scanner&apos;s clock</source>
        <translation>%1 según el reloj del escáner</translation>
    </message>
    <message>
        <source>%1 after the scan of its barcode</source>
        <translation>%1 después de la lectura de su código</translation>
    </message>
    <message>
        <source>Moved by you from barcode %1.</source>
        <translation>Movida por usted desde el código %1.</translation>
    </message>
    <message>
        <source>A barcode&apos;s scan time (scanner&apos;s clock), a photo&apos;s capture time (camera&apos;s clock)</source>
        <translation>La hora de lectura de un código (reloj del escáner), la hora de captura de una foto (reloj de la cámara)</translation>
    </message>
    <message>
        <source>A barcode&apos;s number of photos; how long after its barcode&apos;s scan a photo was taken, with the clocks lined up</source>
        <translation>El número de fotos de un código; cuánto después de la lectura de su código se hizo una foto, con los relojes alineados</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Hora</translation>
    </message>
    <message>
        <source>Photos / after scan</source>
        <translation>Fotos / tras lectura</translation>
    </message>
    <message>
        <source>Move %1 to %2</source>
        <translation>Mover %1 a %2</translation>
    </message>
    <message numerus="yes">
        <source>Move %n photo(s) to %1</source>
        <translation>
            <numerusform>Mover %n foto a %1</numerusform>
            <numerusform>Mover %n fotos a %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Move %n photo(s) to the barcode before</source>
        <translation>
            <numerusform>Mover %n foto al código anterior</numerusform>
            <numerusform>Mover %n fotos al código anterior</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Move %n photo(s) to the barcode after</source>
        <translation>
            <numerusform>Mover %n foto al código siguiente</numerusform>
            <numerusform>Mover %n fotos al código siguiente</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ReviewTexts</name>
    <message numerus="yes">
        <source>%n day(s)</source>
        <comment>a length of time</comment>
        <translation>
            <numerusform>%n día</numerusform>
            <numerusform>%n días</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 h</source>
        <comment>hours</comment>
        <translation>%1 h</translation>
    </message>
    <message>
        <source>%1 min</source>
        <comment>minutes</comment>
        <translation>%1 min</translation>
    </message>
    <message>
        <source>%1 s</source>
        <comment>seconds</comment>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>no dated photo</source>
        <translation>ninguna foto con fecha</translation>
    </message>
    <message>
        <source>in step with the scanner</source>
        <translation>al paso del escáner</translation>
    </message>
    <message>
        <source>%1 behind the scanner</source>
        <translation>%1 por detrás del escáner</translation>
    </message>
    <message>
        <source>%1 ahead of the scanner</source>
        <translation>%1 por delante del escáner</translation>
    </message>
    <message>
        <source>, drift %1 ppm</source>
        <translation>, deriva %1 ppm</translation>
    </message>
    <message>
        <source>camera %1</source>
        <translation>cámara %1</translation>
    </message>
    <message>
        <source>camera %1 %2</source>
        <translation>cámara %1 %2</translation>
    </message>
    <message>
        <source>last scan and last photo taken as simultaneous, skew %1: </source>
        <translation>última lectura y última foto tomadas como simultáneas, desfase %1: </translation>
    </message>
    <message>
        <source>clocks set by hand: </source>
        <translation>relojes ajustados a mano: </translation>
    </message>
    <message numerus="yes">
        <source>%1 of %n scan(s) fit</source>
        <translation>
            <numerusform>encaja %1 de %n lectura</numerusform>
            <numerusform>encajan %1 de %n lecturas</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>only %n scan(s)</source>
        <translation>
            <numerusform>solo %n lectura</numerusform>
            <numerusform>solo %n lecturas</numerusform>
        </translation>
    </message>
    <message>
        <source>%1, but the camera %2 further behind the scanner fits almost as well</source>
        <translation>%1, pero la cámara %2 más por detrás del escáner encaja casi igual de bien</translation>
    </message>
    <message>
        <source>%1, but the camera %2 further ahead of the scanner fits almost as well</source>
        <translation>%1, pero la cámara %2 más por delante del escáner encaja casi igual de bien</translation>
    </message>
    <message>
        <source>the last scan and the last photo do not line the clocks up: %1, the automatic alignment fits %2</source>
        <translation>la última lectura y la última foto no alinean los relojes: %1; la alineación automática encaja %2</translation>
    </message>
    <message>
        <source>Taken before the first scan: a test shot, or a subject whose card was scanned later or not at all.</source>
        <translation>Hecha antes de la primera lectura: una foto de prueba, o un sujeto cuya tarjeta se leyó más tarde o nunca.</translation>
    </message>
    <message>
        <source>Taken within a second of a scan: it may belong to the barcode before or after.</source>
        <translation>Hecha a menos de un segundo de una lectura: puede pertenecer al código anterior o al siguiente.</translation>
    </message>
    <message>
        <source>Taken after a long pause inside its barcode&apos;s photos: test shots, a subject photographed without a scan, or a long last session.</source>
        <translation>Hecha tras una larga pausa entre las fotos de su código: fotos de prueba, un sujeto fotografiado sin leer su tarjeta, o una última sesión larga.</translation>
    </message>
    <message>
        <source>The other way of lining up the clocks puts it under another barcode.</source>
        <translation>La otra forma de alinear los relojes la pone bajo otro código.</translation>
    </message>
    <message>
        <source>It has no capture time, so it stays with the photo listed before it.</source>
        <translation>No tiene hora de captura, así que se queda con la foto anterior de la lista.</translation>
    </message>
    <message>
        <source>Taken seconds after the scan and followed by a long pause: it may belong to the barcode before (the card scanned before the last photo of the subject before).</source>
        <translation>Hecha segundos después de la lectura y seguida de una larga pausa: puede pertenecer al código anterior (la tarjeta se leyó antes de la última foto del sujeto anterior).</translation>
    </message>
    <message numerus="yes">
        <source>%n photo(s)</source>
        <translation>
            <numerusform>%n foto</numerusform>
            <numerusform>%n fotos</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n barcode(s)</source>
        <translation>
            <numerusform>%n código de barras</numerusform>
            <numerusform>%n códigos de barras</numerusform>
        </translation>
    </message>
    <message>
        <source>all unconfirmed</source>
        <translation>todas sin confirmar</translation>
    </message>
    <message>
        <source>no doubtful photo</source>
        <translation>ninguna foto dudosa</translation>
    </message>
    <message numerus="yes">
        <source>%n doubtful</source>
        <comment>photos</comment>
        <translation>
            <numerusform>%n dudosa</numerusform>
            <numerusform>%n dudosas</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n barcode(s) without photos</source>
        <translation>
            <numerusform>%n código sin fotos</numerusform>
            <numerusform>%n códigos sin fotos</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n barcode(s) with far more photos than usual</source>
        <translation>
            <numerusform>%n código con muchas más fotos de lo habitual</numerusform>
            <numerusform>%n códigos con muchas más fotos de lo habitual</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n scan(s) after the last photo</source>
        <translation>
            <numerusform>%n lectura después de la última foto</numerusform>
            <numerusform>%n lecturas después de la última foto</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ReviewWindow</name>
    <message>
        <source>Review the matches</source>
        <translation>Revisar los emparejamientos</translation>
    </message>
    <message>
        <source>Find a barcode or photo (Ctrl+F)</source>
        <translation>Buscar un código o una foto (Ctrl+F)</translation>
    </message>
    <message>
        <source>Drag a photo onto the barcode it belongs to, or press Alt+Up / Alt+Down to move the selected photos to the barcode before or after; a moved photo becomes that barcode&apos;s last photo. F3 goes to the next doubtful photo, Ctrl+Z undoes.</source>
        <translation>Arrastre una foto al código al que pertenece, o pulse Alt+Arriba / Alt+Abajo para mover las fotos seleccionadas al código anterior o siguiente; una foto movida pasa a ser la última de ese código. F3 va a la siguiente foto dudosa, Ctrl+Z deshace.</translation>
    </message>
    <message>
        <source>Return to Vesk-X</source>
        <translation>Volver a Vesk-X</translation>
    </message>
    <message>
        <source>Cancel the job and go back to Vesk-X; nothing is handed over and the scanner is not erased.</source>
        <translation>Cancelar el trabajo y volver a Vesk-X; no se entrega nada y el escáner no se borra.</translation>
    </message>
    <message>
        <source>Revert</source>
        <translation>Revertir</translation>
    </message>
    <message>
        <source>Forget the changes and match again from the files.</source>
        <translation>Olvidar los cambios y emparejar de nuevo a partir de los archivos.</translation>
    </message>
    <message>
        <source>Use automatic matches</source>
        <translation>Usar emparejamientos automáticos</translation>
    </message>
    <message>
        <source>Keep the matches as they were found automatically and go on; your moves are discarded.</source>
        <translation>Conservar los emparejamientos tal como se hallaron automáticamente y seguir; sus movimientos se descartan.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>Save the matches as shown and go on.</source>
        <translation>Guardar los emparejamientos tal como se ven y seguir.</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Deshacer</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Rehacer</translation>
    </message>
    <message>
        <source>Move to the barcode before</source>
        <translation>Mover al código anterior</translation>
    </message>
    <message>
        <source>Move to the barcode after</source>
        <translation>Mover al código siguiente</translation>
    </message>
    <message>
        <source>Move to barcode...</source>
        <translation>Mover al código...</translation>
    </message>
    <message>
        <source>This photo shows barcode... (line up the clocks on it)</source>
        <translation>Esta foto muestra el código... (alinear los relojes con ella)</translation>
    </message>
    <message>
        <source>Next doubtful photo</source>
        <translation>Siguiente foto dudosa</translation>
    </message>
    <message>
        <source>Previous doubtful photo</source>
        <translation>Foto dudosa anterior</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Buscar</translation>
    </message>
    <message>
        <source>The last photo of the barcode before, %1: %2</source>
        <translation>La última foto del código anterior, %1: %2</translation>
    </message>
    <message>
        <source>The first photo of the barcode after, %1: %2</source>
        <translation>La primera foto del código siguiente, %1: %2</translation>
    </message>
    <message>
        <source>Select a photo to see it here</source>
        <translation>Seleccione una foto para verla aquí</translation>
    </message>
    <message>
        <source>This photo cannot be shown</source>
        <translation>Esta foto no se puede mostrar</translation>
    </message>
    <message>
        <source>Loading...</source>
        <translation>Cargando...</translation>
    </message>
    <message numerus="yes">
        <source>Barcode %1: %n photo(s)</source>
        <translation>
            <numerusform>Código %1: %n foto</numerusform>
            <numerusform>Código %1: %n fotos</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 under barcode %2</source>
        <translation>%1 bajo el código %2</translation>
    </message>
    <message>
        <source>%1 after its scan</source>
        <translation>%1 tras su lectura</translation>
    </message>
    <message>
        <source>moved by you from %1</source>
        <translation>movida por usted desde %1</translation>
    </message>
    <message numerus="yes">
        <source>%n photo(s) moved</source>
        <translation>
            <numerusform>%n foto movida</numerusform>
            <numerusform>%n fotos movidas</numerusform>
        </translation>
    </message>
    <message>
        <source>matched again with other clocks</source>
        <translation>emparejada de nuevo con otros relojes</translation>
    </message>
    <message>
        <source>Select the photos to move first.</source>
        <translation>Seleccione primero las fotos que quiere mover.</translation>
    </message>
    <message>
        <source>There is no barcode before the first one.</source>
        <translation>No hay ningún código antes del primero.</translation>
    </message>
    <message>
        <source>There is no barcode after the last one.</source>
        <translation>No hay ningún código después del último.</translation>
    </message>
    <message>
        <source>Move %1</source>
        <translation>Mover %1</translation>
    </message>
    <message numerus="yes">
        <source>Move %n photo(s)</source>
        <translation>
            <numerusform>Mover %n foto</numerusform>
            <numerusform>Mover %n fotos</numerusform>
        </translation>
    </message>
    <message>
        <source>Type the barcode to move to, then press Enter. The photos become its last photos.</source>
        <translation>Escriba el código al que moverlas y pulse Intro. Las fotos pasan a ser sus últimas fotos.</translation>
    </message>
    <message>
        <source>No doubtful photo left to look at.</source>
        <translation>No queda ninguna foto dudosa por revisar.</translation>
    </message>
    <message>
        <source>Select a photo whose subject you know first.</source>
        <translation>Seleccione primero una foto cuyo sujeto conozca.</translation>
    </message>
    <message>
        <source>Line up the clocks on %1</source>
        <translation>Alinear los relojes con %1</translation>
    </message>
    <message>
        <source>Which barcode does %1 show? The clocks are lined up so that it sits under that barcode, and the whole shoot is matched again.</source>
        <translation>¿Qué código muestra %1? Los relojes se alinean para que quede bajo ese código y toda la sesión se empareja de nuevo.</translation>
    </message>
    <message>
        <source>The clocks cannot be lined up so</source>
        <translation>Los relojes no se pueden alinear así</translation>
    </message>
    <message>
        <source>No clock offset puts %1 under barcode %2 (the photo has no capture time, or the barcode was scanned at the same second as the next one).</source>
        <translation>Ningún desplazamiento del reloj pone %1 bajo el código %2 (la foto no tiene hora de captura, o el código se leyó en el mismo segundo que el siguiente).</translation>
    </message>
    <message>
        <source>Line up the clocks: %1 shows %2</source>
        <translation>Alinear los relojes: %1 muestra %2</translation>
    </message>
    <message>
        <source>The clocks are lined up on %1 under %2; the whole shoot has been matched again (Ctrl+Z undoes it).</source>
        <translation>Los relojes están alineados con %1 bajo %2; toda la sesión se ha emparejado de nuevo (Ctrl+Z lo deshace).</translation>
    </message>
    <message>
        <source>Match the shoot again?</source>
        <translation>¿Emparejar la sesión de nuevo?</translation>
    </message>
    <message numerus="yes">
        <source>Matching again with other clocks puts every photo where the new clocks say and discards your %n move(s). Undo brings them back.</source>
        <translation>
            <numerusform>Emparejar de nuevo con otros relojes pone cada foto donde dicen los nuevos relojes y descarta su %n movimiento. Deshacer lo recupera.</numerusform>
            <numerusform>Emparejar de nuevo con otros relojes pone cada foto donde dicen los nuevos relojes y descarta sus %n movimientos. Deshacer los recupera.</numerusform>
        </translation>
    </message>
    <message>
        <source>Match Again</source>
        <translation>Emparejar de nuevo</translation>
    </message>
    <message>
        <source>Shift the camera clock</source>
        <translation>Desplazar el reloj de la cámara</translation>
    </message>
    <message>
        <source>No barcode or photo matches &quot;%1&quot;.</source>
        <translation>Ningún código ni foto coincide con «%1».</translation>
    </message>
    <message>
        <source>Keep Reviewing</source>
        <translation>Seguir revisando</translation>
    </message>
    <message>
        <source>Leave the review?</source>
        <translation>¿Salir de la revisión?</translation>
    </message>
    <message numerus="yes">
        <source>You matched the shoot again with other clocks and moved %n photo(s).</source>
        <translation>
            <numerusform>Ha emparejado la sesión de nuevo con otros relojes y ha movido %n foto.</numerusform>
            <numerusform>Ha emparejado la sesión de nuevo con otros relojes y ha movido %n fotos.</numerusform>
        </translation>
    </message>
    <message>
        <source>You matched the shoot again with other clocks.</source>
        <translation>Ha emparejado la sesión de nuevo con otros relojes.</translation>
    </message>
    <message numerus="yes">
        <source>You moved %n photo(s).</source>
        <translation>
            <numerusform>Ha movido %n foto.</numerusform>
            <numerusform>Ha movido %n fotos.</numerusform>
        </translation>
    </message>
    <message>
        <source>Save the matches as they are shown now, or discard your changes and go on with the automatic matches.</source>
        <translation>Guarde los emparejamientos tal como se ven ahora, o descarte sus cambios y siga con los emparejamientos automáticos.</translation>
    </message>
    <message>
        <source>Save Matches</source>
        <translation>Guardar emparejamientos</translation>
    </message>
    <message>
        <source>Discard Changes</source>
        <translation>Descartar cambios</translation>
    </message>
    <message numerus="yes">
        <source>Discard %n Move(s)</source>
        <translation>
            <numerusform>Descartar %n movimiento</numerusform>
            <numerusform>Descartar %n movimientos</numerusform>
        </translation>
    </message>
    <message>
        <source>Use the automatic matches?</source>
        <translation>¿Usar los emparejamientos automáticos?</translation>
    </message>
    <message numerus="yes">
        <source>Your %n move(s) are discarded; the matched list keeps the matches found automatically.</source>
        <translation>
            <numerusform>Se descarta su %n movimiento; la lista emparejada conserva los emparejamientos automáticos.</numerusform>
            <numerusform>Se descartan sus %n movimientos; la lista emparejada conserva los emparejamientos automáticos.</numerusform>
        </translation>
    </message>
    <message>
        <source>The matches made with other clocks are discarded; the matched list keeps the matches found automatically.</source>
        <translation>Se descartan los emparejamientos hechos con otros relojes; la lista emparejada conserva los emparejamientos automáticos.</translation>
    </message>
    <message>
        <source>Use Automatic Matches</source>
        <translation>Usar emparejamientos automáticos</translation>
    </message>
    <message>
        <source>Match again from the files?</source>
        <translation>¿Emparejar de nuevo a partir de los archivos?</translation>
    </message>
    <message>
        <source>Your changes are discarded and the photos are matched again from the list files.</source>
        <translation>Sus cambios se descartan y las fotos se emparejan de nuevo a partir de los archivos de lista.</translation>
    </message>
    <message>
        <source>Return to Vesk-X without saving?</source>
        <translation>¿Volver a Vesk-X sin guardar?</translation>
    </message>
    <message>
        <source>The job is cancelled: your changes are discarded, no matches are handed to Vesk-X and the scanner is not erased.</source>
        <translation>El trabajo se cancela: sus cambios se descartan, no se entrega ningún emparejamiento a Vesk-X y el escáner no se borra.</translation>
    </message>
</context>
<context>
    <name>ScannerWorkflows</name>
    <message>
        <source>No serial port found</source>
        <translation>No se encontró ningún puerto serie</translation>
    </message>
    <message>
        <source>VeskBarcode found no serial port for the barcode scanner. Plug in the scanner&apos;s USB-to-serial adapter, or pair the scanner over Bluetooth, then press Rescan Ports.</source>
        <translation>VeskBarcode no encontró ningún puerto serie para el escáner. Conecte el adaptador USB-serie del escáner o empareje el escáner por Bluetooth, y luego pulse Buscar puertos de nuevo.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>FOUND Zebex Unit SN# [%1]!</source>
        <translation>¡ENCONTRADO el escáner Zebex n.º de serie [%1]!</translation>
    </message>
</context>
<context>
    <name>VeskJobSteps</name>
    <message>
        <source>Validating Images for The Barcode Process...</source>
        <translation>Comprobando las fotos para el proceso de códigos de barras...</translation>
    </message>
</context>
</TS>
