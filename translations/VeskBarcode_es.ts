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
