<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="en_US">
<context>
    <name>CPopupMessage</name>
    <message>
        <source>Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Warning</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CPopupQuery</name>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Yes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CalculatorWidget</name>
    <message>
        <source>Backspace</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MC</source>
        <comment>Abbr for Memory Clear, on a calculator</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MR</source>
        <comment>Abbr for Memory Read, on a calculator</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MS</source>
        <comment>Abbr for Memory Set, on a calculator</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>M+</source>
        <comment>Abbr for Memory Add, on a calculator</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>/</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>*</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>-</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>+</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1/x</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>=</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DropletSizeWidget</name>
    <message>
        <source>bar</source>
        <comment>Metric unit of pressure</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>km/h</source>
        <comment>Abbr for kilometers per hour</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>psi</source>
        <comment>Abbr for US unit of pressure, pounds per square inch</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>mph</source>
        <comment>Abbr for miles per hour</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LanguageManager</name>
    <message>
        <source>English - US</source>
        <comment>This is the name of the current language. ie. Spanish for the Americas would be Espanol - CA/SA.</comment>
        <translation>English - US</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Power Down</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Do you want to power down?</source>
        <comment>power down Option definition</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>NumericKeypadWidget</name>
    <message>
        <source>0</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>6</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>7</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>8</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>9</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>-/+</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid value!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid value! Value must be between %L1 and %L2 %3.</source>
        <comment>%L1 is the minimum value, %L2 is the maximum value, %3 is the units</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Reports</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pressure Log Data</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>m</source>
        <comment>abbr. for meter</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ft</source>
        <comment>abbr. for feet</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ha</source>
        <comment>abbr. for hectare</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1000 sq ft</source>
        <comment>abbr. for 1000 square feet</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ac</source>
        <comment>abbr. for acre</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start Date: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start Time: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 hours %2 minutes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Total Application Time: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Amount: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Driven Distance: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Area: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Job Data Report</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Job Data: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Additional Notes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lb</source>
        <comment>abbr for pound</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>gal</source>
        <comment>abbr for gallon</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>kg</source>
        <comment>abbr for kilogram</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>l</source>
        <comment>abbr for liter</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Job Counter %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Report Created: %1 at %2</source>
        <comment>%1 is the date, %2 is the time</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolsViewWidgets::ConfigDiagnostics</name>
    <message>
        <source>Settings</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Diagnostics</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Test Inputs</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Test Outputs</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Test Sectrix</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pressure Log</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Alarm Log</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Log Data Saved</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The log data has been saved on the USB drive.</source>
        <comment>Log data Saved definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Log Data Not Saved</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>An error occurred while saving the log data.</source>
        <comment>Log Data Not Saved definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pressure Log Data Saved</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The pressure log data has been saved on the USB drive.</source>
        <comment>Log data Saved definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pressure Log Data Not Saved</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>An error occurred while saving the pressure log data.</source>
        <comment>Log Data Not Saved definition</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolsViewWidgets::ConfigDiagnosticsTestAbsc</name>
    <message>
        <source>Settings</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Diagnostics</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Test Sectrix</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connection</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mode</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Section Input</source>
        <comment>Setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Yes</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Automatic</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Manual</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connection</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tests if the Sectrix unit is connected through the CAN bus. When the connection status is &quot;No&quot;, check if unit is powered on and cables are properly connected.</source>
        <comment>Connection definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mode</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tests if the Sectrix unit is in Automatic or Manual mode. Mode can be changed on the Sectrix unit.</source>
        <comment>Mode definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Section Input</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tests if the Sectrix section input is on or off.
1 = Section On
0 = Section Off</source>
        <comment>Section Input definition</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolsViewWidgets::ConfigDiagnosticsTestInputs</name>
    <message>
        <source>Settings</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Diagnostics</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Test Inputs (1)</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Implement Wheel Sensor</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tractor Wheel Sensor</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Supply Voltage</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Flow Sensor</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 p</source>
        <comment>abbr for pulse, %1 is the value</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 V</source>
        <comment>abbr for Volt, %1 is the value</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Test the sensor by activating it and watching the pulse count increase.
To reset all Test Input pulse counts to 0, press pulse value.</source>
        <comment>sensor input definition - same definition for all sensors</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Implement Wheel Sensor</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tractor Wheel Sensor</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Supply Voltage</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shows the given supply voltage.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Flow Sensor</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolsViewWidgets::ConfigDiagnosticsTestInputs2</name>
    <message>
        <source>Settings</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Diagnostics</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Test Inputs (2)</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fill Flow Sensor</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Liquid Pressure Sensor</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tank Level Sensor</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remote Master Signal</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 p</source>
        <comment>abbr for pulse, %1 is the value</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%L1 mA</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>On</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Off</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fill Flow Sensor</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Test the sensor by activating it and watching the pulse count increase.
To reset all Test Input pulse counts to 0, press pulse value.</source>
        <comment>Fill Flow Sensor definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Liquid Pressure Sensor</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Test the sensor by activating it and watching the value increase or decrease along with the pressure.</source>
        <comment>Liquid Pressure Sensor definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tank Level Sensor</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Test the sensor by activating it and watching the value increase or decrease along with the tank level.</source>
        <comment>Tank Level Sensor definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Remote Master Signal</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Test the signal by pushing the remote master on/off switch. Watch that the on/off status is reflected on screen.</source>
        <comment>Remote Master Signal definition</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolsViewWidgets::ConfigDiagnosticsTestInputs3</name>
    <message>
        <source>Settings</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Diagnostics</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Test Inputs (3)</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Master Switch</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Section Switches</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>On</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Off</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Master Switch</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Test by flipping the Master Switch on/off. Watch that the on/off status is reflected on screen.</source>
        <comment>Master Switch definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Section Switches</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Test by flipping the Section Switches on/off. Watch that the on/off status is reflected on screen.
1 = Section On
0 = Section Off</source>
        <comment>Section Switches definition</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolsViewWidgets::ConfigDiagnosticsTestOutputs</name>
    <message>
        <source>Settings</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Diagnostics</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Test Outputs (1)</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Liquid Valve PWM Duty Cycle</source>
        <comment>Settings label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Master Valve</source>
        <comment>Settings label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fill Valve</source>
        <comment>Settings label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open</source>
        <comment>small button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <comment>small button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%L1%</source>
        <comment>%L1 is the value</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Liquid Valve PWM Duty Cycle (%)</source>
        <comment>keyboard header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Liquid Valve PWM Duty Cycle</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Value is used to test the regulation valve at different percentages of duty cycle. 100% equals full speed. Range is -100% through 100%.</source>
        <comment>Liquid Valve PWM Duty Cycle definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Master Valve</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select if the Master Valve is open or closed.</source>
        <comment>Master Valve definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fill Valve</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select if the Fill Valve is open or closed.</source>
        <comment>Fill Valve definition</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolsViewWidgets::ConfigDiagnosticsTestOutputs2</name>
    <message>
        <source>Settings</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Diagnostics</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Test Outputs (2)</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Section Number</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Section Valve State</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All Sections Off</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>On</source>
        <comment>small button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Off</source>
        <comment>small button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>On</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Off</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Section Number</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Selects the section number. Sections are numbered from left to right while facing in the machine&apos;s forward direction.</source>
        <comment>Section Number definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Section Valve State</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sets if the selected section valve is on or off.</source>
        <comment>Section Valve State definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All Sections Off</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sets all section valves to &quot;Off&quot;.</source>
        <comment>All Sections Off definition</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolsViewWidgets::ConfigMachineAlarms</name>
    <message>
        <source>l</source>
        <comment>Abbr for liter</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>liter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>gal</source>
        <comment>Abbr for gallon</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>gallon</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Machine</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Alarms</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minimum Tank Content</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Flow/Pressure Cross Check</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Section Output Low</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enable</source>
        <comment>small button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Disable</source>
        <comment>small button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%L1 %2</source>
        <comment>%L1 is the value, %2 is the units</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%L1%</source>
        <comment>%L1 is the value</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enabled</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Disabled</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minimum Tank Content (%1)</source>
        <comment>keyboard header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Flow/Pressure Cross Check (%)</source>
        <comment>keyboard header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minimum Tank Content</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Establishes the minimum volume level at which an alarm will sound. Range is 0 through %L1 %2.</source>
        <comment>Minimum Tank Content definition. %L1 is the high value. %2 is the units.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Flow/Pressure Cross Check</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Establishes at what percentage the associated alarm will sound. This alarm is only available when both flow and liquid pressure sensors are installed.</source>
        <comment>Flow/Pressure Cross Check definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Section Output Low</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Establishes if the alarm will sound if a section is turned on, yet no load is sensed from that section.</source>
        <comment>Section Output Low definition</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolsViewWidgets::ConfigMachineCalFillFlowSensor</name>
    <message>
        <source>p/l</source>
        <comment>Abbr for pulses/liter</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>p/gal</source>
        <comment>Abbr for pulses/gallon</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>liter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>l</source>
        <comment>abbr for liter</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>gallon</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>gal</source>
        <comment>Abbr for gallon</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>100 liters</source>
        <comment>minimum volume for Calibration sequence part 1.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>25 gallons</source>
        <comment>minimum volume for Calibration sequence part 1.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Machine</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calibrations</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fill Flow Sensor</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calibration Number</source>
        <comment>settings label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Automatic Calibration</source>
        <comment>settings label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pulse Count</source>
        <comment>settings label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Collected Volume</source>
        <comment>settings label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calibrate</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Done</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%L1 %2</source>
        <comment>%L1 is the value. %2 is the units.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 p</source>
        <comment>%1 is the value. &quot;p&quot; is the abbr. for pulses</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calibration Number (%1)</source>
        <comment>keyboard header. %1 is the units.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Collected Volume (%1)</source>
        <comment>keyboard header. %1 is the units.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Collected Volume</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calibration Number</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter the amount of pulses counted while running 1 %1 of water through the flow sensor. Use Automatic Calibration to calculate the pulses automatically. Range is %L2 through %L3 pulses.</source>
        <comment>Calibration Number definition. %1 is the water units. %L2 &amp; %L3 are the range values.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Automatic Calibration</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>If the number of pulses is not known or to make sure the value is correct, automatic calibration establishes the calibration. 
Press &quot;Calibrate&quot; to start an automatic calibration of the sensor. Follow the series of instructions displayed.</source>
        <comment>Automatic Calibration definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Prepare to collect the &apos;medium&apos; via the Fill Flow Sensor (minimum %1). Press the Start Spraying icon to begin calibration.</source>
        <comment>Automatic Calibration sequence step 1: Start Calibration. %1 is the minimum volume with unit string.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>When desired amount has been collected, press the Stop Spraying icon.</source>
        <comment>Automatic Calibration sequence step 2: Stop Calibration.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pulse Count</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shows the number of pulses during calibration. Minimum of 10 pulses needed to do a calibration.</source>
        <comment>Pulse Count definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter the collected volume. Press &quot;Done&quot; when complete. To cancel the calibration, press Return Arrow or Home button. Range is %L1 through %L2 %3.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolsViewWidgets::ConfigMachineCalFlowSensor</name>
    <message>
        <source>liters/minute</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>l/min</source>
        <comment>Abbr for liters/minute</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>gallons/minute</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>gal/min</source>
        <comment>Abbr for gallons/minute</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>100 liters</source>
        <comment>minimum volume for Calibration sequence part 1.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>25 gallons</source>
        <comment>minimum volume for Calibration sequence part 1.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Machine</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calibrations</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Flow Sensor</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calibration Number</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Low Flow Limit</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>High Flow Limit</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Automatic Calibration</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calibrate</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%L1 %2</source>
        <comment>%L1 is the value. %2 is the units.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>p/l</source>
        <comment>abbr. for pulses/liter</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>p/l</source>
        <comment>Abbr. for pulses/liter</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calibration Number (%1)</source>
        <comment>keyboard header. %1 is the units.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Low Flow Limit (%1)</source>
        <comment>keyboard header. %1 is the units.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>High Flow Limit (%1)</source>
        <comment>keyboard header. %1 is the units.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calibration Number</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter the amount of pulses counted while running 1 %1 of water through the flow sensor. Use Automatic Calibration to calculate the pulses automatically. Range is %L2 through %L3 pulses.</source>
        <comment>Calibration Number definition. %1 is the water units. %L2 &amp; %L3 are the range values.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>liter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Low Flow Limit</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter the flow sensors low limit value. Range is %L1 through %L2 %3.</source>
        <comment>Low Flow Limit definition. %L1 &amp; %L2 are the range values. %3 is the units.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>High Flow Limit</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter the flow sensors high limit value. Range is %L1 through %L2 %3.</source>
        <comment>High Flow Limit definition. %L1 &amp; %L2 are the range values. %3 is the units.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Automatic Calibration</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>If the number of pulses is not known or to make sure the value is correct, automatic calibration establishes the calibration. 
Press &quot;Calibrate&quot; to start an automatic calibration of the sensor. Follow the series of instructions displayed.</source>
        <comment>Automatic Calibration definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Prepare to collect the &apos;medium&apos; via the Flow Sensor (minimum %1). Make sure controller is in manual mode and flow is not regulated down. Turn on Master Switch to start calibration.</source>
        <comment>Automatic Calibration sequence step 1: Start Calibration. %1 is the minimum volume with unit string.</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolsViewWidgets::ConfigMachineCalFlowSensor2</name>
    <message>
        <source>liter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>l</source>
        <comment>abbr for liter</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>gallon</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>gal</source>
        <comment>Abbr for gallon</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Machine</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calibrations</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Flow Sensor</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pulse Count</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Collected Volume</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%L1 p</source>
        <comment>abbr for pulse, %L1 is the value</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%L1 %2</source>
        <comment>%L1 is the value. %2 is the units.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Collected Volume (%1)</source>
        <comment>keyboard header. %1 is the units.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pulse Count</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shows the number of pulses during calibration. Minimum of 10 pulses needed to do a calibration.</source>
        <comment>Pulse Count definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Collected Volume</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter the volume passed through the flow sensor during the calibration. Once encoded - a new flow sensor calibration value is calculated. Range is %L1 through %L2 %3.</source>
        <comment>Collected Volume definition. %L1 &amp; %L2 are the range values. %3 is the units.</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolsViewWidgets::ConfigMachineCalImplSpeedSensor</name>
    <message>
        <source>100 meters</source>
        <comment>distance and units for Calibration Number definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>100 m</source>
        <comment>Short version of &apos;100 meter&apos;</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>300 feet</source>
        <comment>distance and units for Calibration Number definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>300 ft</source>
        <comment>Short version of &apos;300 feet&apos;</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Machine</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calibrations</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Implement Speed Sensor</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calibration Number</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Automatic Calibration</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calibrate</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Done</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%L1</source>
        <comment>value label of pulse per driving distance. %L1 is the value</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calibration Number</source>
        <comment>keyboard header. pulses per driving distance. </comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calibration Number</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The counted calibration number %L1 is above %L2 pulses and was not saved. The previous calibration number is kept.</source>
        <comment>Calibration Number result. %L1 is the counted number, %L2 the highest number.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Automatic Calibration will determine the number of pulses counted while driving %1 and convert the calibration number to the correct units. In manual calibration, enter the calibration number in pulses per 100 meters. Range is %L2 through %L3 pulses.</source>
        <comment>Calibration Number definition. %1 is the distance and units. %L2 &amp; %L3 are the range values.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Automatic Calibration</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Press &quot;Calibrate&quot; to start an automatic calibration of the sensor. Drive a distance of %1. Press &quot;Done&quot; when complete. To cancel the calibration, press &quot;Cancel&quot;, Return Arrow or Home button.</source>
        <comment>Automatic Calibration definition</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolsViewWidgets::ConfigMachineCalPressSensorMaxPressure</name>
    <message>
        <source>bar</source>
        <comment>metric unit of pressure</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>psi</source>
        <comment>Abbr for US unit of pressure, pounds per square inch</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Liquid Pressure Sensor</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Maximum Pressure (1)</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Maximum Pressure</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reference Pressure</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Automatic Calibration</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calibrate</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%L1 %2</source>
        <comment>%L1 is the value. %2 is the units.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Maximum Pressure (%1)</source>
        <comment>keyboard header. %1 is the units.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reference Pressure (%1)</source>
        <comment>keyboard header. %1 is the units.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Maximum Pressure</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter the maximum allowed pressure limit for the liquid pressure sensor. Use Automatic Calibration to calculate the maximum pressure automatically. Range is %L1 through %L2 %3.</source>
        <comment>Maximum Pressure definition. %L1 &amp; %L2 are the range values. %3 is the units.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reference Pressure</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter the pressure value used as reference for the actual liquid pressure sensor calibration. Range is %L1 through %L2 %3.</source>
        <comment>Reference Pressure definition. %L1 &amp; %L2 are the range values. %3 is the units.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Automatic Calibration</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>If the maximum pressure is not known or to make sure the value is correct, automatic calibration establishes the calibration.
Press &quot;Calibrate&quot; to start an automatic calibration of the sensor. Follow the series of instructions displayed.</source>
        <comment>Automatic Calibration definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calibrate</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Activate Master valve and increase/decrease pressure. Make sure all section valves are open before opening Master valve; otherwise, the pressure could build and damage the system.</source>
        <comment>Automatic Calibration Instructions definition</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolsViewWidgets::ConfigMachineCalPressSensorMaxPressure2</name>
    <message>
        <source>Liquid Pressure Sensor</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Maximum Pressure (2)</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Complete Calibration</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Done</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Min.</source>
        <comment>graph label. Abbr for Minimum</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Max.</source>
        <comment>graph label. Abbr for Maximum</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Complete Calibration</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Apply constant reference pressure to the sensor. Press &quot;Done&quot; when complete. To cancel the calibration, press Return Arrow or Home button.</source>
        <comment>Complete Calibration definition</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolsViewWidgets::ConfigMachineCalPressSensorNoPressure</name>
    <message>
        <source>Liquid Pressure Sensor</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No Pressure</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Min.</source>
        <comment>graph label. Abbr for Minimum</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Max.</source>
        <comment>graph label. Abbr for Maximum</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No Pressure Calibration</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calibrate</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calibration complete.</source>
        <comment>Calibration Complete definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calibration failed. The sensor value is out of range.</source>
        <comment>Calibration Failed definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No Pressure Calibration</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Make sure NO pressure is applied to the liquid pressure sensor. Press &quot;Calibrate&quot; to record a new calibration value and finalize the calibration.</source>
        <comment>Calibration definition</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolsViewWidgets::ConfigMachineCalPressure</name>
    <message>
        <source>Calibrations</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Liquid Pressure Sensor</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No Pressure</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Maximum Pressure</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolsViewWidgets::ConfigMachineCalTankLevel</name>
    <message>
        <source>Import of tank sensor calibration data.
All tank sensor calibration data will be replaced. This will require new Empty, Minimum and Maximum calibration. Do you want to proceed?</source>
        <comment>definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import Tank Sensor Calibration</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Imported Tank Sensor Calibration successfully.</source>
        <comment>definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error occurred while importing Tank Sensor Calibration.</source>
        <comment>definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export of tank sensor calibration data.
An existing calibration file already exists on the USB drive and will be overwritten. Do you want to proceed?</source>
        <comment>definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export Tank Sensor Calibration</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exported Tank Sensor Calibration successfully.</source>
        <comment>definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error occurred while exporting Tank Sensor Calibration.</source>
        <comment>definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calibrations</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tank Level Sensor</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Empty Tank</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minimum Tank Level</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Maximum Tank Level</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tank Shape</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolsViewWidgets::ConfigMachineCalTankLevelSensorEmpty</name>
    <message>
        <source>Empty Tank</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calibration complete.</source>
        <comment>Calibration Complete definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Make sure there is NO water on tank level sensor. Press &quot;Calibrate&quot; to record a new calibration value and finalize the calibration.</source>
        <comment>Automatic Calibration definition</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolsViewWidgets::ConfigMachineCalTankLevelSensorMax</name>
    <message>
        <source>Maximum Tank Level</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Maximum Tank Level</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calibration complete.</source>
        <comment>Calibration Complete definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fill the tank to the maximum level with water. Press &quot;Calibrate&quot; to record the current volume as the specified Maximum Tank Level volume and finalize the calibration.</source>
        <comment>Automatic Calibration definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shows the tank content for the maximum level calibration.</source>
        <comment>Maximum Tank Level definition</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolsViewWidgets::ConfigMachineCalTankLevelSensorMin</name>
    <message>
        <source>Minimum Tank Level</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minimum Tank Level</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calibration Complete.</source>
        <comment>Calibration Complete definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fill the tank to the minimum level with water. Press &quot;Calibrate&quot; to record the current volume as the specified Minimum Tank Level volume and finalize the calibration.</source>
        <comment>Automatic Calibration definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shows the tank content for the minimum level calibration.</source>
        <comment>Minimum Tank Level definition</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolsViewWidgets::ConfigMachineCalTankLevelSensorPoint</name>
    <message>
        <source>Tank Level Sensor</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Low</source>
        <comment>graph label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>High</source>
        <comment>graph label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Automatic Calibration</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calibrate</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>l</source>
        <comment>Abbr for liters</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>gal</source>
        <comment>Abbr for gallon</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%L1 %2</source>
        <comment>%1 is the value, %2 is the units</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calibration failed. The sensor value is out of range.</source>
        <comment>Calibration Failed definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Automatic Calibration</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolsViewWidgets::ConfigMachineCalTankLevelSensorShape</name>
    <message>
        <source>l</source>
        <comment>Abbr for liter</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>liter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>gal</source>
        <comment>Abbr for gallon</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>gallon</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tank Level Sensor</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tank Shape</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Low</source>
        <comment>graph label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>High</source>
        <comment>graph label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tank Level Sensor</source>
        <comment>graph top label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calibration Progress</source>
        <comment>graph top label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Flip Master Switch to
start calibration.</source>
        <comment>extended setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Maximum Tank Level</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%L1 %2</source>
        <comment>%1 is the value, %2 is the units</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calibration Process Overview</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Before starting the calibration process, fill the tank to its maximum level with water. When ready, activate the Master Switch to open the master valve and start Tank Shape calibration. Spray the tank empty with a constant flow rate.</source>
        <comment>Calibration Process Overview definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Maximum Tank Level</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shows the tank content for the maximum level calibration.</source>
        <comment>Maximum Tank Level definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Automatic Calibration</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>With the fill the tank to its maximum level with water, activate the Master Switch to open the master valve and start the calibration. Spray the tank empty with a constant flow rate.</source>
        <comment>Automatic Calibration definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calibration Complete</source>
        <comment>Calibration Complete header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The calibration process is now complete.</source>
        <comment>Complete Calibration definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> Turn Master Switch off.</source>
        <comment>Extra text to Complete Calibration definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calibration Failed</source>
        <comment>Calibration Failed header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The calibration process ended before the tank was empty. No new tank shape was recorded.</source>
        <comment>Failed Calibration definition</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolsViewWidgets::ConfigMachineCalibrations</name>
    <message>
        <source>Settings</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Machine</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calibrations</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Flow Sensor</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Liquid Pressure Sensor</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Implement Speed Sensor</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tank Level Sensor</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fill Flow Sensor</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolsViewWidgets::ConfigMachineImplParam</name>
    <message>
        <source>Machine</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Implement Parameters</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Section Configuration</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tip Preset Setup</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Regulation Parameters</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolsViewWidgets::ConfigMachineImplParamNozSetup</name>
    <message>
        <source>User Tip</source>
        <comment>description of tip series</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Twin Fluid</source>
        <comment>description of tip series</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>General</source>
        <comment>description of tip series</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Blue Lilac</source>
        <comment>Small button text: tip capacity color button. Will be included with associated capacity number: 0050(Blue Lilac)</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Orange</source>
        <comment>Small button text: tip capacity color button. Will be included with associated capacity number: 01(Orange)</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Green</source>
        <comment>Small button text: tip capacity color button. Will be included with associated capacity number: 015(Green)</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Yellow</source>
        <comment>Small button text: tip capacity color button. Will be included with associated capacity number: 02(Yellow)</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Purple</source>
        <comment>Small button text: tip capacity color button. Will be included with associated capacity number: 025(Purple)</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Blue</source>
        <comment>Small button text: tip capacity color button. Will be included with associated capacity number: 03(Blue)</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Purple Red</source>
        <comment>Small button text: tip capacity color button. Will be included with associated capacity number: 035(Purple Red)</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Red</source>
        <comment>Small button text: tip capacity color button. Will be included with associated capacity number: 04(Red)</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Brown</source>
        <comment>Small button text: tip capacity color button. Will be included with associated capacity number: 05(Brown)</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gray</source>
        <comment>Small button text: tip capacity color button. Will be included with associated capacity number: 06(Gray)</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>White</source>
        <comment>Small button text: tip capacity color button. Will be included with associated capacity number: 08(White)</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Light Blue</source>
        <comment>Small button text: tip capacity color button. Will be included with associated capacity number: 10(L.Blue)</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Light Green</source>
        <comment>Small button text: tip capacity color button. Will be included with associated capacity number: 15(L.Green)</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Black</source>
        <comment>Small button text: tip capacity color button. Will be included with associated capacity number: 20(Black)</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Beige</source>
        <comment>Small button text: tip capacity color button. Will be included with associated capacity number: 0134(Beige)</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Olive Green</source>
        <comment>Small button text: tip capacity color button. Will be included with associated capacity number: 0067(Olive Green)</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Raspberry Red</source>
        <comment>Small button text: tip capacity color button. Will be included with associated capacity number: 12(Raspberry Red)</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stainless Steel</source>
        <comment>Small button text: tip capacity color button. Will be included with associated capacity number: XX(Stainless Steel)</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Blue Lilac</source>
        <comment>Button text: tip capacity color button. Will be included with associated capacity number: 0050(Blue Lilac)</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Orange</source>
        <comment>Button text: tip capacity color button. Will be included with associated capacity number: 01(Orange)</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Green</source>
        <comment>Button text: tip capacity color button. Will be included with associated capacity number: 015(Green)</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Yellow</source>
        <comment>Button text: tip capacity color button. Will be included with associated capacity number: 02(Yellow)</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Purple</source>
        <comment>Button text: tip capacity color button. Will be included with associated capacity number: 025(Purple)</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Blue</source>
        <comment>Button text: tip capacity color button. Will be included with associated capacity number: 03(Blue)</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Purple Red</source>
        <comment>Button text: tip capacity color button. Will be included with associated capacity number: 035(Purple Red)</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Red</source>
        <comment>Button text: tip capacity color button. Will be included with associated capacity number: 04(Red)</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Brown</source>
        <comment>Button text: tip capacity color button. Will be included with associated capacity number: 05(Brown)</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gray</source>
        <comment>Button text: tip capacity color button. Will be included with associated capacity number: 06(Gray)</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>White</source>
        <comment>Button text: tip capacity color button. Will be included with associated capacity number: 08(White)</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Light Blue</source>
        <comment>Button text: tip capacity color button. Will be included with associated capacity number: 10(L.Blue)</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Light Green</source>
        <comment>Button text: tip capacity color button. Will be included with associated capacity number: 15(L.Green)</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Black</source>
        <comment>Button text: tip capacity color button. Will be included with associated capacity number: 20(Black)</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Beige</source>
        <comment>Button text: tip capacity color button. Will be included with associated capacity number: 0134(Beige)</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Olive Green</source>
        <comment>Button text: tip capacity color button. Will be included with associated capacity number: 0067(Olive Green)</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Raspberry Red</source>
        <comment>Button text: tip capacity color button. Will be included with associated capacity number: 12(Raspberry Red)</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stainless Steel</source>
        <comment>Button text: tip capacity color button. Will be included with associated capacity number: XX(Stainless Steel)</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%L1</source>
        <comment>%L1 is the value</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Machine</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Implement Parameters</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tip Preset Setup (1)</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tip Preset</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tip Series</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tip Capacity</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Factory Settings</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Restore</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Are you sure, you want to restore data for all tips to factory settings?</source>
        <comment>Restore confirmation</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tip Preset</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tip presets allow saving of up to five tips for quick recall.</source>
        <comment>Tip Preset definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tip Series</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select the tip series from a general selection of established tips or an optional user defined tip.</source>
        <comment>Tip Series definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tip Capacity</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select the tip capacity from a list of established sizes. When the tip series is user defined, tip capacity will need to be encoded manually.</source>
        <comment>Tip Capacity definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Factory Settings</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reset all tip settings to the default setting for all tips.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolsViewWidgets::ConfigMachineImplParamNozSetup2</name>
    <message>
        <source>bar</source>
        <comment>metric unit of pressure</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>psi</source>
        <comment>Abbr for US unit of pressure, pounds per square inch</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>l/min</source>
        <comment>abbr for liters per minute</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>liter/minute</source>
        <comment> </comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>gal/min</source>
        <comment>abbr for gallons per minute</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>gallons/minute</source>
        <comment> </comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%L1 %2</source>
        <comment>%L1 is the value and %2 is the unit</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Machine</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Implement Parameters</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tip Preset Setup (2)</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Low Pressure Limit</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>High Pressure Limit</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reference Flow</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reference Pressure</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Low Pressure Limit (%1)</source>
        <comment>keyboard header. %1 is the units.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>High Pressure Limit (%1)</source>
        <comment>keyboard header. %1 is the units.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reference Flow (%1)</source>
        <comment>keyboard header. %1 is the units.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reference Pressure (%1)</source>
        <comment>keyboard header. %1 is the units.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Low Pressure Limit</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Establishes the limit for the lowest allowed operating pressure for the selected tip series. Range is %L1 through %L2 %3.</source>
        <comment>Low Pressure Limit definition. %L1 &amp; %L2 are the range values. %3 is the units.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>High Pressure Limit</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Establishes the limit for the highest allowed operating pressure for the selected tip series. Range is %L1 through %L2 %3.</source>
        <comment>High Pressure Limit definition. %L1 &amp; %L2 are the range values. %3 is the units.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reference Flow</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Establishes the value for volume applied over a specific time. Range is %L1 through %L2 %3.</source>
        <comment>Reference Flow definition. %L1 &amp; %L2 are the range values. %3 is the units.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reference Pressure</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Establishes the pressure value at which the application rate is true (ISO = 2 bar / 29 psi). Range is %L1 through %L2 %3.</source>
        <comment>Reference Pressure definition. %L1 &amp; %L2 are the range values. %3 is the units.</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolsViewWidgets::ConfigMachineImplParamRegParam</name>
    <message>
        <source>cm</source>
        <comment>Abbr for centimetres</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>centimetres</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>in</source>
        <comment>Abbr for inches</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>inches</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Machine</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Implement Parameters</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Regulation Parameters</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Coarse Valve Calibration</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fine Valve Calibration</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tip Spacing</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Regulation Mode</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Flow</source>
        <comment>Regulation Mode small button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pressure</source>
        <comment>Regulation Mode small button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%L1</source>
        <comment>%L1 is the value</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%L1 %2</source>
        <comment>%L1 is the value and %2 is the unit</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Flow</source>
        <comment>Regulation Mode button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pressure</source>
        <comment>Regulation Mode button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Coarse Valve Calibration</source>
        <comment>keyboard header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fine Valve Calibration</source>
        <comment>keyboard header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tip Spacing (%1)</source>
        <comment>keyboard header. %1 is the units.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Coarse Valve Calibration</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Allows regulation of the setting of the regulating valve to accommodate different application needs. Operating conditions may necessitate a higher or lower response setting for the regulating valve. This value adjusts the setting for coarse adjustments in relation to a large percentage outside of the target application rate. Range is %1 through %2.</source>
        <comment>Coarse Valve Calibration definition. %1 &amp; %2 are the range values</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fine Valve Calibration</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Allows regulation of the setting of the regulating valve to accommodate different application needs. Operating conditions may necessitate a higher or lower response setting for the regulating valve. This digit adjusts the setting for the fine tune adjustment in relation to a small percentage close to the target application rate. Range is %1 through %2.</source>
        <comment>Fine Valve Calibration definition. %1 &amp; %2 are the range values</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tip Spacing</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Establishes the spacing between each tip. Range is %L1 through %L2 %3.</source>
        <comment>Tip Spacing definition. %L1 &amp; %L2 are the values. %L3 is the units.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Regulation Mode</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Determines if the rate control is pressure based or flow based.</source>
        <comment>Regulation Mode definition</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolsViewWidgets::ConfigMachineImplParamSectWidth</name>
    <message>
        <source>#%1
%2 tips</source>
        <comment>Section Number option. %1 is the section number. %2 is the number of tips in that section.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%L1</source>
        <comment>%L1 is the value</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy Section %1</source>
        <comment>setting label, %1 is the selected section number</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cm</source>
        <comment>Abbr for centimetres</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>in</source>
        <comment>Abbr for inches</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%L1 %2</source>
        <comment>%L1 is the value, %2 is the units</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Machine</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Implement Parameters</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Section Configuration</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Section Number</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Number of Tips</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Section Width</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Number of Tips</source>
        <comment>keyboard header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Are you sure you want to copy the number of tips in section %1 to all other sections?</source>
        <comment>definition. Copy Section 1 confirmation. %1 is the current section number.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Section Number</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Selects the section number. Sections are numbered from left to right while facing in the machine&apos;s forward direction.</source>
        <comment>Section Number definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Number of Tips</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The number of tips for the given section. Range is %1 through %2.</source>
        <comment>Number of Tips definition. %1 &amp; %2 are the range values.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy Section %1</source>
        <comment>definition header, %1 is the selected section number</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy the number of tips in section %1 (the selected section number) to all the other sections.</source>
        <comment>Copy Section %1 definition, %1 is the selected section number</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Section Width</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The section width for the selected section number.</source>
        <comment>Section Width definition</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolsViewWidgets::ConfigOem</name>
    <message>
        <source>Settings</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OEM</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sensor Presence</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Implement Parameters</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Valve Setup</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tank Setup</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Regulation Details</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear Totals</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Password</source>
        <comment>keyboard header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import of Configuration Data.
The configuration and calibration data will be replaced. Do you want to proceed?</source>
        <comment>definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Import Configuration Data</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Configuration Data was imported successfully.</source>
        <comment>definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error occurred while importing Configuration Data.</source>
        <comment>definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export of Configuration Data.
An existing configuration file already exists on the USB drive and will be overwritten. Do you want to proceed?</source>
        <comment>definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export Configuration Data</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Configuration Data was exported successfully.</source>
        <comment>definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error occurred while exporting Configuration Data.</source>
        <comment>definition</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolsViewWidgets::ConfigOemDeleteTotals</name>
    <message>
        <source>Settings</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OEM</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear Totals</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Area Counter</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Volume Counter</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time Counter</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear All Total Counters</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1h %2m</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Are you sure you want to clear all total counters?</source>
        <comment>Clear All Total Counters confirmation</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Area Counter</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Displays total applied area for all jobs.</source>
        <comment>Area Counter definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Volume Counter</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Displays total volume of material applied during all jobs.</source>
        <comment>Volume Counter definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time Counter</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Displays total time traveled for all jobs.</source>
        <comment>Time Counter definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear All Total Counters</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Press &quot;Clear&quot; to clear all accumulated total counters.</source>
        <comment>Clear All Total Counters definition</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolsViewWidgets::ConfigOemImplParam</name>
    <message>
        <source>Settings</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OEM</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Implement Parameters (1)</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Number of Sections</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Circulation</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Display Rate Smoothing</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>None</source>
        <comment>Circulation small button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Semi</source>
        <comment>Circulation small button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Full</source>
        <comment>Circulation small button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%L1</source>
        <comment>%L1 is the value</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>None</source>
        <comment>Circulation button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Semi</source>
        <comment>Circulation button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Full</source>
        <comment>Circulation button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%L1%</source>
        <comment>%L1 is the value</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Number of Sections</source>
        <comment>keyboard header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Display Rate Smoothing (%)</source>
        <comment>keyboard header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Number of Sections</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Establishes how many sections are on the implement. Range is %1 through %2.</source>
        <comment>Number of Section definition. %1 &amp; %2 are the range values.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Circulation</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sets if there is none, semi or full tank circulation. Available only in Sprayer Mode.</source>
        <comment>Circulation definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Display Rate Smoothing</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This percent value will be used as a deadband for displaying the application rate value on the Operation screen. Range is %L1 through %L2 %.
Once actual application rate is within the percent deadband value of the target rate, target rate will be shown.</source>
        <comment>Display Rate Smoothing definition</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolsViewWidgets::ConfigOemImplParam2</name>
    <message>
        <source>Settings</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OEM</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Implement Parameters (2)</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Physical Section Switch Number</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paired Sections</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Confirm Configuration</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keep and save the new physical switch to section pair configuration?</source>
        <comment>Confirm Configuration definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invalid Configuration</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The new configuration of physical switches to section pairs is invalid! 

Restore to factory settings?</source>
        <comment>Invalid Configuration definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Physical Section Switch Number</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select the physical section switch for controlling the paired sections.</source>
        <comment>Physical Section Switch Number definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paired Sections</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select the two paired sections controlled by the selected physical section switch. Sections are numbered from left to right while facing in the machine&apos;s forward direction.</source>
        <comment>Paired sections definition.</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolsViewWidgets::ConfigOemRegulationDetails</name>
    <message>
        <source>bar</source>
        <comment>metric unit of pressure</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>psi</source>
        <comment>Abbr for US unit of pressure, pounds per square inch</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OEM</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Regulation Details (1)</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minimum Regulation Pressure</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Maximum Regulation Pressure</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Regulation Valve Time</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minimum Regulation Voltage</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%L1 %2</source>
        <comment>%1 is the value, %2 is the units</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%L1 sec</source>
        <comment>%1 is the value. sec is the abbr for seconds.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 V</source>
        <comment>%1 is the value. V is the abbr for volts.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minimum Regulation Pressure (%1)</source>
        <comment>keyboard header. %1 is the units.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Maximum Regulation Pressure (%1)</source>
        <comment>keyboard header. %1 is the units.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>seconds</source>
        <comment>seconds</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Regulation Valve Time (sec)</source>
        <comment>keyboard header. sec is the abbr for seconds.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>volt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minimum Regulation Voltage (V)</source>
        <comment>keyboard header. V is the abbr for volts.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minimum Regulation Pressure</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The working pressure will not drop lower than this level, even if a lower pressure is required by the regulation system. Range is %L1 through %L2 %3.</source>
        <comment>Minimum Regulation Pressure definition. %L1 &amp; %L2 are the range values. %3 is the units.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Maximum Regulation Pressure</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The working pressure will not rise higher than this level, even if a higher pressure can be obtained by the regulation system. Range is %L1 through %L2 %3.</source>
        <comment>Maximum Regulation Pressure definition. %L1 &amp; %L2 are the range values. %3 is the units.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Regulation Valve Time</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The time, in seconds, for the regulation valve to go from fully closed to fully open (or vice versa). Range is %L1 through %L2 seconds.</source>
        <comment>Regulation Valve Time definition. %L1 &amp; %L2 are the range values.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minimum Regulation Voltage</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The lowest voltage at which the regulation valve will start to move. Minimum voltage must be found when the valve is under pressure, as this affects the force required to move the valve. Range is %L1 through %L2 %3.</source>
        <comment>Minimum Regulation Voltage definition. %L1 &amp; %L2 are the range values. %3 is the units.</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolsViewWidgets::ConfigOemRegulationDetails2</name>
    <message>
        <source>l/min</source>
        <comment>abbr for liters per minute</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>liters/minute</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>gal/min</source>
        <comment>Abbr for gallons per minute</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>gallons/minute</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OEM</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Regulation Details (2)</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Regulation Deadband</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Regulation Valve Capacity</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Regulation Start Delay</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Manual Regulation Speed</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%L1%</source>
        <comment>%L1 is the value</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%L1 %2</source>
        <comment>%1 is the value, %2 is the units</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 sec</source>
        <comment>%1 is the value. sec is the abbr for seconds.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Regulation Deadband (%)</source>
        <comment>keyboard header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Regulation Valve Capacity (%1)</source>
        <comment>keyboard header. %1 is the units.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>seconds</source>
        <comment>seconds</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Regulation Start Delay (sec)</source>
        <comment>keyboard header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Manual Regulation Speed (%)</source>
        <comment>keyboard header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Regulation Deadband</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Regulation will stop when the difference between the target rate and the actual rate is lower than the encoded deadband (percent of the target rate).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Regulation Valve Capacity</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Capacity for the regulation valve. Range is %L1 through %L2 %3.</source>
        <comment>Regulation Valve Capacity definition. %L1 &amp; %L2 are the range values. %3 is the units.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Regulation Start Delay</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delay, in seconds, from when the main valve is switched on until regulation starts. Range is %L1 through %L2 seconds.</source>
        <comment>Regulation Start Delay definition. %L1 &amp; %L2 are the range values.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Manual Regulation Speed</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Encode in percent of the regulation valve time the pace at which the regulation valve should move in manual operation.</source>
        <comment>Manual Regulation Speed definition</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolsViewWidgets::ConfigOemRegulationDetails3</name>
    <message>
        <source>l/min</source>
        <comment>Abbr for liters per minute</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>liters/minute</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>gal/min</source>
        <comment>Abbr for gallons per minute</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>gallons/minute</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OEM</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Regulation Details (3)</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Restrictor Plate Flow</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Default Valve Position</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%L1 %2</source>
        <comment>%L1 is the value, %2 is the units</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%L1%</source>
        <comment>%L1 is the value</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Restrictor Plate Flow (%1)</source>
        <comment>keyboard header. %1 is the units.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Default Valve Position (%)</source>
        <comment>keyboard heading</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Restrictor Plate Flow</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Capacity of the restrictor plate and is to be used when working with return flow (Circulation). Range is %L1 through %L2 %3.</source>
        <comment>Restrictor Plate Flow definition. %L1 &amp; %L2 are the range values. %3 is the units.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Default Valve Position</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Default Valve Position is a percentage of the regulation valve activation time. Range is %1 through %2 %. 15 minutes after Master Switch has been turned off, the valve will completely close then open to the percentage specified.</source>
        <comment>Default Valve Position definition.</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolsViewWidgets::ConfigOemSensorPresence</name>
    <message>
        <source>Settings</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OEM</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sensor Presence</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Flow Sensor</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Liquid Pressure Sensor</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fill Flow Sensor</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tank Sensor</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Yes</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Flow Sensor</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Digital sensor for measuring liquid flow.</source>
        <comment>Flow Sensor definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Liquid Pressure Sensor</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Analog sensor for measuring liquid pressure.</source>
        <comment>Liquid Pressure Sensor definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fill Flow Sensor</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Digital sensor for measuring fill flow.</source>
        <comment>Fill Flow Sensor definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tank Sensor</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Analog sensor for measuring tank content.</source>
        <comment>Tank Sensor definition</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolsViewWidgets::ConfigOemTankSetup</name>
    <message>
        <source>kg</source>
        <comment>Abbr for kilograms</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>kilograms</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>l</source>
        <comment>Abbr for liter</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>liters</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lb</source>
        <comment>Abbr for pounds</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>pounds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>gal</source>
        <comment>Abbr for gallons</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>gallons</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OEM</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tank Setup</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Maximum Tank Content</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minimum Tank Content</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Automatic Filling</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Automatic Filling Offset</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%L1 %2</source>
        <comment>%L1 is the value, %2 is the units</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>On</source>
        <comment>small button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Off</source>
        <comment>small button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Maximum Tank Content (%1)</source>
        <comment>keyboard header. %1 is the units.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minimum Tank Content (%1)</source>
        <comment>keyboard header. %1 is the units.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Automatic Filling Offset (%1)</source>
        <comment>keyboard header. %1 is the units.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Maximum Tank Content</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter the maximum possible tank volume. Range is %L1 through %L2 %3.</source>
        <comment>Maximum Tank Content definition %L1 &amp; %L2 are the range values. %3 is the units.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minimum Tank Content</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The minimum tank volume at which the tank agitation should automatically be shut off. Range is %L1 through %L2 %3.</source>
        <comment>Minimum Tank Content definition %L1 &amp; %L2 are the range values. %3 is the units.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Automatic Filling</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set automatic filling mode to either &quot;on&quot; or &quot;off&quot;.</source>
        <comment>Automatic Filling definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Automatic Filling Offset</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter the volume that will continue to run into the tank after the fill valve has starting shutting. Range is %L1 through %L2 %3.</source>
        <comment>Automatic Filling Offset definition. %L1 &amp; %L2 are the range values. %3 is the units.</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolsViewWidgets::ConfigOemValveSetup</name>
    <message>
        <source>Settings</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OEM</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Valve Setup</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Regulation Valve Type</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Section Valve Type</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Section Valve Behavior</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Throttle</source>
        <comment>Regulation Valve Type small button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bypass</source>
        <comment>Regulation Valve Type small button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>2-way</source>
        <comment>Section Valve Type small button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>3-way</source>
        <comment>Section Valve Type small button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Independent</source>
        <comment>Section Valve Behavior small button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Follow Master</source>
        <comment>Section Valve Behavior small button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bypass</source>
        <comment>Regulation Valve Type button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Throttle</source>
        <comment>Regulation Valve Type button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>3-way</source>
        <comment>Section Valve Type button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>2-way</source>
        <comment>Section Valve Type button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Follow Master</source>
        <comment>Section Valve Behavior button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Independent</source>
        <comment>Section Valve Behavior button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Regulation Valve Type</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sets the valve type to either &quot;Throttle&quot; or &quot;Bypass&quot;.</source>
        <comment>Regulation Valve Type definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Section Valve Type</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sets the valve type to either &quot;2-way&quot; or &quot;3-way&quot;. Available only in Sprayer Mode.</source>
        <comment>Section Valve Type definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Section Valve Behavior</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sets the valve to either &quot;Independent&quot; or &quot;Follow Master&quot;.</source>
        <comment>Section Valve Behavior definition</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolsViewWidgets::DataCampaign</name>
    <message>
        <source>ha</source>
        <comment>abbr. for hectare</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1000 sq ft</source>
        <comment>abbr. for 1000 square feet</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ac</source>
        <comment>abbr. for acre</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>l</source>
        <comment>abbr for liter</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>gal</source>
        <comment>abbr for gallon</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>kg</source>
        <comment>abbr for kilogram</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lb</source>
        <comment>abbr for pound</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%L1 %2</source>
        <comment>Area, %1 is the value and %2 is the unit</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%L1 %2</source>
        <comment>Volume, %1 is the value and %2 is the unit</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1h %2m</source>
        <comment>Time, %1 is hours and %2 is minutes</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Data</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Campaign</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Area Counter</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Volume Counter</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time Counter</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear All Campaign Counters</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Area Counter</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Displays total applied coverage area for all jobs.</source>
        <comment>Area Counter definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Volume Counter</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Displays total volume of material applied during all jobs.</source>
        <comment>Volume Counter definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time Counter</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Displays total time traveled for all jobs.</source>
        <comment>Time Counter definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear All Campaign Counters</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Press &quot;Clear&quot; to clear all campaign counters.</source>
        <comment>Clear All Campaign Counters definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Are you sure, you want to clear the campaign counters?</source>
        <comment>Clear All Campaign Counters confirmation</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolsViewWidgets::DataJobs</name>
    <message>
        <source>ha</source>
        <comment>abbr. for hectare</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1000 sq ft</source>
        <comment>abbr. for 1000 square feet</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ac</source>
        <comment>abbr. for acre</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>l</source>
        <comment>abbr for liter</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>gal</source>
        <comment>abbr for gallon</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>kg</source>
        <comment>abbr for kilogram</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lb</source>
        <comment>abbr for pound</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>m</source>
        <comment>abbr. for meter</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ft</source>
        <comment>abbr. for feet</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Job Number %1</source>
        <comment>button. %1 is the current job number</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%L1 %2</source>
        <comment>Area, %1 is the value and %2 is the unit</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%L1 %2</source>
        <comment>Volume, %1 is the value and %2 is the unit</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%L1 %2</source>
        <comment>Distance, %1 is the value and %2 is the unit</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1h %2m</source>
        <comment>Working Time, %1 is hours and %2 is the minutes</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Data</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Jobs</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Job Number</source>
        <comment>keyboard header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Are you sure, you want to clear counter data for the active job?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select the active job number. Stored counter values are shown below. Press &quot;Clear&quot; to clear all counter values.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear Job Data</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear the accumulated counter data for the active job.</source>
        <comment>Clear Job Data definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Job Data Saved</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The job data has been saved in pdf file.</source>
        <comment>Job Data Saved definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Job Data Not Saved</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>An error occurred while save the job data.</source>
        <comment>Job Data Not Saved definition</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolsViewWidgets::DataLogAlarms</name>
    <message>
        <source>Alarm ID</source>
        <comment>Extended Table header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Count</source>
        <comment>Table header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time</source>
        <comment>Table header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date</source>
        <comment>Table header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Diagnostics</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Alarm Log</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolsViewWidgets::DataLogPressure</name>
    <message>
        <source>Pressure</source>
        <comment>Extended Table header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time</source>
        <comment>Table header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date</source>
        <comment>Table header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Diagnostics</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pressure Log</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolsViewWidgets::DataTotals</name>
    <message>
        <source>ha</source>
        <comment>abbr. for hectare</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1000 sq ft</source>
        <comment>abbr. for 1000 square feet</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ac</source>
        <comment>abbr. for acre</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>l</source>
        <comment>abbr for liter</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>gal</source>
        <comment>abbr for gallon</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>kg</source>
        <comment>abbr for kilogram</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lb</source>
        <comment>abbr for pound</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%L1 %2</source>
        <comment>Area, %L1 is the value and %2 is the unit</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%L1 %2</source>
        <comment>Volume, %1 is the value and %2 is the unit</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1h %2m</source>
        <comment>Working time, %1 is hours and %2 is minutes</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Data</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Totals</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Area Counter</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Volume Counter</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time Counter</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Area Counter</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Displays total applied coverage area for all jobs.</source>
        <comment>Area Counter definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Volume Counter</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Displays total volume of material applied during all jobs.</source>
        <comment>Volume Counter definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time Counter</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Displays total time traveled for all jobs.</source>
        <comment>Time Counter definition</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolsViewWidgets::MiscUnitsConverter</name>
    <message>
        <source>Area</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Length</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Volume</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>acres</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>hectares</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>square meters</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>feet</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>inches</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>meters</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>miles</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>kilometers</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>liters</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>gallons (UK)</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>gallons (US)</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>acres</source>
        <comment>small button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>hectares</source>
        <comment>small button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>square
meters</source>
        <comment>small button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>feet</source>
        <comment>small button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>inches</source>
        <comment>small button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>meters</source>
        <comment>small button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>miles</source>
        <comment>small button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>kilo-
meters</source>
        <comment>small button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>liters</source>
        <comment>small button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>gallons
(UK)</source>
        <comment>small button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>gallons
(US)</source>
        <comment>small button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tools</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Units Converter</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>From:</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>To:</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Area</source>
        <comment>small button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Length</source>
        <comment>small button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Volume</source>
        <comment>small button</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolsViewWidgets::ToolsViewConfigFilling</name>
    <message>
        <source>Settings</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Machine</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Filling (1)</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Operation</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Actual Content</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Full Tank</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Density Type</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Density Factor</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Full Tank</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Water</source>
        <comment>small button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fertilizer</source>
        <comment>small button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>liter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>l</source>
        <comment>abbr for liter</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>gallon</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>gal</source>
        <comment>Abbr for gallon</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%L1 %2</source>
        <comment>%L1 is the value, %2 is the units</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fertilizer</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Water</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%L1</source>
        <comment>%L1 is the value</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Actual Content (%1)</source>
        <comment>keyboard header. %1 is the units.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Density Factor</source>
        <comment>keyboard header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Actual Content</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>When a Tank Sensor or Fill Flow Sensor is not available, manually enter the actual tank content. The Full Tank button can be used to set the actual tank content value to the maximum tank content value. Range is %L1 through %L2 %3.</source>
        <comment>Actual Content definition. %L1 &amp; %L2 are the range values. %3 is the units.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Full Tank</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Press the Full Tank button to reload the predefined full tank content value into Actual Content.</source>
        <comment>Full Tank definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Density Type</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Establishes the density of the material being applied.</source>
        <comment>Density Type definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Density Factor</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enter the density factor for selected fertilizer type. Range is %L1 through %L2 %3.</source>
        <comment>Density Factor definition. %L1 &amp; %L2 are the range values and %3 is the unit.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>kg/l</source>
        <comment>abbr for kilograms/liter</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lb/gal</source>
        <comment>abbr for pounds/gallon</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolsViewWidgets::ToolsViewConfigFilling2</name>
    <message>
        <source>Settings</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Machine</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Filling (2)</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Operation</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Automatic Filling</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Actual Content</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Desired Content</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start</source>
        <comment>graph label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Full</source>
        <comment>graph label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>liter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>l</source>
        <comment>abbr for liter</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>gallon</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>gal</source>
        <comment>Abbr for gallon</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%L1 %2</source>
        <comment>%L1 is the value, %2 is the units</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Desired Content (%1)</source>
        <comment>keyboard header. %1 is the units.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Automatic Filling</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Activate the button to start and stop the automatic filling.</source>
        <comment>Automatic Filling definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Desired Content</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Establishes the desired maximum content volume. Range is %L1 through %L2 %3.</source>
        <comment>Desired Content definition. %L1 &amp; %L2 are the range values. %3 is the units.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Actual Content</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Displays the current volume of content in the tank.</source>
        <comment>Actual Content definition</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolsViewWidgets::ToolsViewConfigJobParam</name>
    <message>
        <source>l/ha</source>
        <comment>abbr for liters/hectare</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>liters/hectare</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>gal/1000 sq ft</source>
        <comment>Abbr for gallons per 1000 square feet</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>gallons/1000 square feet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>gal/ac</source>
        <comment>Abbr for gallons/acre</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>gallon/acre</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>bar</source>
        <comment>metric unit of pressure</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>psi</source>
        <comment>Abbr for US unit of pressure, pounds per square inch</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Job Parameters</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Application Rate Number</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Application Rate</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tip Type</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Circulation</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Idle Pressure</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Off</source>
        <comment>small button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>On</source>
        <comment>small button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%L1 %2</source>
        <comment>%L1 is the value, %2 is the units</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%L1
%2</source>
        <comment>Application Rate Number small button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>On</source>
        <comment>setting value</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Off</source>
        <comment>setting value</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%L1 %2</source>
        <comment>%1 is the value, %2 is the units</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Application Rate (%1)</source>
        <comment>keyboard header. %1 is the units.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Idle Pressure (%1)</source>
        <comment>keyboard header. %1 is the units.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Application Rate Number</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set three Application Rates for quick recall. The stored application rate value can be changed.</source>
        <comment>Application Rate Number definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Application Rate</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select the target application rate for the current Application Rate Number. Range is %L1 through %L2 %3.</source>
        <comment>Application Rate definition. %L1 &amp; %L2 are the range values. %3 is the units.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tip Type</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select the tip type from the five Tip Presets.</source>
        <comment>Tip Type definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Circulation</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sets if the circulation (Semi or Full depending on the OEM settings) is on or off.</source>
        <comment>Circulation definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Idle Pressure</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Idle pressure value sets the minimum pressure when the Master Valve is off. Range is %L1 through %L2 %3.</source>
        <comment>Idle Pressure definition. %L1 &amp; %L2 are the range values. %3 is the units.</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolsViewWidgets::ToolsViewConfigMachine</name>
    <message>
        <source>Settings</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Machine</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Filling</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Operation</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Implement Parameters</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calibrations</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Alarms</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolsViewWidgets::ToolsViewConfigOperation</name>
    <message>
        <source>km/h</source>
        <comment>Abbr for kilometers per hour</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>kilometers/hour</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>mph</source>
        <comment>Abbr for miles per hour</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>miles/hour</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Machine</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Operation</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Application Rate Step</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Speed Source</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Simulate Speed</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minimum Speed</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%L1%</source>
        <comment>%L1 is the value</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Implement</source>
        <comment>Speed Source button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CAN Speed</source>
        <comment>Speed Source button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Simulated</source>
        <comment>Speed Source button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%L1 %2</source>
        <comment>%L1 is the value, %2 is the units</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Application Rate Step (%)</source>
        <comment>keyboard header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Simulate Speed (%1)</source>
        <comment>keyboard header. %1 is the units.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minimum Speed (%1)</source>
        <comment>keyboard header. %1 is the units.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Application Rate Step</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The percent of increase/decrease &quot;boost&quot; of the active application rate at which the product is being applied.</source>
        <comment>Application Rate Step definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Speed Source</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Selects whether to base the machine&apos;s speed on input from the CAN, an Implement or a Simulated source.</source>
        <comment>Speed Source definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Simulate Speed</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Establishes a speed to be used when using the Simulated Speed source. Range is %L1 through %L2 %3.</source>
        <comment>Simulate Speed definition. %L1 &amp; %L2 are the range values. %3 is the units.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minimum Speed</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Establishes the minimum forward speed at which the system should automatically switch the main valve off. Range is %L1 through %L2 %3.</source>
        <comment>Minimum Speed definition. %L1 &amp; %L2 are the range values. %3 is the units.</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolsViewWidgets::ToolsViewConfiguration</name>
    <message>
        <source>%</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Password</source>
        <comment>keyboard header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Settings</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Job Parameters</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Machine</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OEM</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Diagnostics</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolsViewWidgets::ToolsViewConsole</name>
    <message>
        <source>Console Settings</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Display</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cultural</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sound</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolsViewWidgets::ToolsViewConsoleAbout</name>
    <message>
        <source>Software version: </source>
        <comment> </comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Software development version:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hardware ID: %1</source>
        <comment>%1 is the ID number</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hardware ID: Unknown</source>
        <comment> </comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: v%2%3</source>
        <comment>This string is used to display software version information, the &apos;v&apos; stands for version</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Console</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Saved version information to USB drive.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Failed to save version information.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolsViewWidgets::ToolsViewConsoleCulture</name>
    <message>
        <source>Console</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cultural</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Language</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Units</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>day</source>
        <comment>this will be a part of the help text for date</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>month</source>
        <comment>this will be a part of the help text for date</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>year</source>
        <comment>this will be a part of the help text for date</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Metric</source>
        <comment>Units small button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Metric</source>
        <comment>Units button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Imperial</source>
        <comment>Units small button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Imperial</source>
        <comment>Units button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>US</source>
        <comment>Units small button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>US</source>
        <comment>Units button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>US
Turf</source>
        <comment>Units small button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>US Turf</source>
        <comment>Units button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date Setup - Day</source>
        <comment>keyboard header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date Setup - Month</source>
        <comment>keyboard header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date Setup - Year</source>
        <comment>keyboard header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hours</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time Setup - Hour</source>
        <comment>keyboard header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minutes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time Setup - Minute</source>
        <comment>keyboard header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Language</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Defines the system language.</source>
        <comment>Language definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Units</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Defines the system units (US, Imperial or Metric).</source>
        <comment>Units definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Defines the current date.
The date format is
%1</source>
        <comment>Date definition. %1 is the date format generated based on the selected language. Example English - US would be [month]/[day]/[year].</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Defines the current time.
The time format is
[24 hour]:[minutes]:[seconds].</source>
        <comment>Time definition</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolsViewWidgets::ToolsViewConsoleDisplay</name>
    <message>
        <source>Style 1</source>
        <comment>User Interface Color Scheme small button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Style 1</source>
        <comment>User Interface Color Scheme button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Style 2</source>
        <comment>User Interface Color Scheme small button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Style 2</source>
        <comment>User Interface Color Scheme button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Style 3</source>
        <comment>User Interface Color Scheme small button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Style 3</source>
        <comment>User Interface Color Scheme button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Style 4</source>
        <comment>User Interface Color Scheme small button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Style 4</source>
        <comment>User Interface Color Scheme button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Style 5</source>
        <comment>User Interface Color Scheme small button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Style 5</source>
        <comment>User Interface Color Scheme button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Style 6</source>
        <comment>User Interface Color Scheme small button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Style 6</source>
        <comment>User Interface Color Scheme button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Console</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Display (1)</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Night Mode</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>User Interface Color Scheme</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LCD Brightness</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Touch Screen Calibration</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Disable</source>
        <comment>small button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enable</source>
        <comment>small button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%L1%</source>
        <comment>%L1 is the value</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enabled</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Disabled</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Changing color scheme, please wait...</source>
        <comment>definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LCD Brightness (%)</source>
        <comment>keyboard header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Begin touch screen calibration?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>During calibration, carefully touch each crosshair icon as it appears on the screen.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Press OK to complete calibration.

This message will timeout after 10 seconds if you are unable to close it and will restart the touch screen calibration process.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Night Mode</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enable Night Mode to lower brightness levels in all color schemes. Disable Night Mode to return to previous brightness settings.</source>
        <comment>Night Mode definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>User Interface Color Scheme</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose the color scheme that is easiest to read.</source>
        <comment>User Interface Color Scheme definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LCD Brightness</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The brightness of the console display.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Touch Screen Calibration</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This allows the touch screen to be properly calibrated.</source>
        <comment>Touch Screen Calibration definition</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolsViewWidgets::ToolsViewConsoleDisplay2</name>
    <message>
        <source>Console</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Display (2)</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Screenshot</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Disable</source>
        <comment>Screenshot small button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enable</source>
        <comment>Screenshot small button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enabled</source>
        <comment>Screenshot button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Disabled</source>
        <comment>Screenshot button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Screenshot</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Screenshot mode can be enabled to allow captures of the screen to be saved to the USB drive.</source>
        <comment>Screenshot definition</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolsViewWidgets::ToolsViewConsoleSound</name>
    <message>
        <source>Console</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sound</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Key Beep</source>
        <comment>setting label</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Disable</source>
        <comment>small button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enable</source>
        <comment>small button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enabled</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Disabled</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Key Beep</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enable or disable sound for each screen option selection. Alarm beeps are not affected by this setting.</source>
        <comment>Key Beep definition</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolsViewWidgets::ToolsViewData</name>
    <message>
        <source>Data Saved</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The data has been saved in CSV file.</source>
        <comment>Data Saved definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Data Not Saved</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>An error occurred while saving the data.</source>
        <comment>Data Not Saved definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Data</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Jobs</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Campaign</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Totals</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ToolsViewWidgets::ToolsViewMisc</name>
    <message>
        <source>Tools</source>
        <comment>pathway text</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calculator</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Units Converter</source>
        <comment>button</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>WorkToolBarWidget</name>
    <message>
        <source>0%</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Auto
Reg</source>
        <comment>small button, abbr for Automatic Regulation</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1%</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Man
Reg</source>
        <comment>small button, abbr for Manual Regulation</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>WorkTopInfoBarWidget</name>
    <message>
        <source>%1</source>
        <comment>workscreen top info Amount value (no room for thousand separator, and has no decimals)</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%L1</source>
        <comment>workscreen top info Flow value</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%L1</source>
        <comment>workscreen top info Pressure value</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%L1</source>
        <comment>workscreen top info Speed value</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%L1</source>
        <comment>workscreen top info Target Application Rate value</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%L1</source>
        <comment>workscreen top info Actual Application Rate value</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%L1</source>
        <comment>workscreen top info Application Rate no. 1 value</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%L1</source>
        <comment>workscreen top info Application Rate no. 2 value</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%L1</source>
        <comment>workscreen top info Application Rate no. 3 value</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%L1</source>
        <comment>workscreen top info Area value</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>kg</source>
        <comment>abbr for kilogram</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lb</source>
        <comment>abbr for pound</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>l</source>
        <comment>abbr for liter</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>gal</source>
        <comment>abbr for gallon</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>kg/min</source>
        <comment>abbr for kilogram per minute</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lb/min</source>
        <comment>abbr for pounds per minute</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>l/min</source>
        <comment>abbr for liters per minute</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>gal/min</source>
        <comment>abbr for gallons per minute</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>bar</source>
        <comment>metric pressure unit</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>psi</source>
        <comment> imperial/US pressure unit. abbr for pound per square inch</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>psi</source>
        <comment>imperial/US pressure unit. abbr for pound per square inch</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>km/h</source>
        <comment>abbr for kilometers per hour</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>mph</source>
        <comment>abbr for miles per hour</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>kg/ha</source>
        <comment>abbr for kilograms per hectare</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>l/ha</source>
        <comment>abbr for liters per hectare</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>lb/ac</source>
        <comment>abbr for pounds per acre</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>gal/1000 sq ft</source>
        <comment>abbr for gallons per 1000 square feet</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>gal/ac</source>
        <comment>abbr for gallons per acre</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Job#</source>
        <comment>Abbr for Job Number. Limited to 7 characters therefore use translation for &apos;job&apos; where necessary</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ha</source>
        <comment>abbr for hectare</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1000 sq ft</source>
        <comment>abbr 1000 square feet</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ac</source>
        <comment>abbr for acre</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>liters/hectare</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>l/ha</source>
        <comment>Abbr for liters per hectare</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>gallons/1000 square feet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>gal/1000 sq ft</source>
        <comment>Abbr for gallons per 1000 square feet</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>gallons/acre</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>gal/ac</source>
        <comment>Abbr for gallons per acre</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Application Rate (%1)</source>
        <comment>keyboard header. %1 is the units.</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>WorkingViewCtrl</name>
    <message>
        <source>%1%</source>
        <comment>Value for boost percentage (no decimals)</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Speed Option</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CAN speed has become available again.
Do you want to go back to CAN speed again?</source>
        <comment>Speed Option definition</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All Active Alarms</source>
        <comment>definition header</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>definition</name>
    <message>
        <source>Check flow sensor and connections.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check liquid pressure sensor and connections.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Flow calibration value not valid!
Check sensor and connections.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Density not equal to water (1 kg/l or 8.34 lb/gal).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Below minimum speed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Regulation is now pressure based due to low flow.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Low flow.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tank almost empty.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Target rate impossible to reach.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minimum regulation pressure.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Maximum regulation pressure.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pressure too low.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pressure too high.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The cross-relation between pressure and flow is too big.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The liquid pressure is too low.
Increase pump RPM.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The liquid pressure is too high.
Decrease pump RPM.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No speed signal is available from the selected speed source.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Master Switch can not be activated outside Operation screen.
Turn Master Switch off!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This menu cannot be exited while spraying is in progress!
Stop spraying and try again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The File system is filled up.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file was not saved correctly.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The controller is not using a true speed input.
You can select an alternative speed source from the operation screen.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The encoded tip spacing doesn&apos;t match the different encoded section widths.
DO NOT SPRAY - the dose rate might be wrong.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Sectrix unit has stopped responding.
Please control the section manually.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The Sectrix unit has shifted to manual mode.
Please control the section manually.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The section switches shall be on before the Sectrix unit can turn on the sections.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The hardware is not supported.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Section output is not working correctly.
Please check cables and valves.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Master output is not working correctly.
Please check cables and valves.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fill Valve output is not working correctly.
Please check cables and valves.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The supply voltage is too low.
The operation of the product cannot be guaranteed.
Please check the power supply.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The internal fuse is blown.
The operation of the product will no longer work.
Service is needed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The CAN speed source is not valid.
Shifting to Implement Speed Sensor.</source>
        <comment>Definition.</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>mph</source>
        <comment>abbr. for miles per hour</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>km/h</source>
        <comment>abbr. for kilo meters per hour</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The CAN speed source is not valid.
Shifting to simulated speed, %L1 %2.</source>
        <comment>Definition. %L1 is the current simulated speed value, and %2 is the speed unit.</comment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>definition header</name>
    <message>
        <source>No Flow Pulses</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Low Liquid Pressure</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calibration Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Warning!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pressure Based</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Actual Rate Too Low</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Actual Rate Too High</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pressure/Flow Check</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Liquid Pressure Too Low</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Liquid Pressure Too High</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No Speed Signal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Work Not Possible</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop Spraying</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File System Out of Memory</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Simulated Speed Active</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CAN Speed Missing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mismatch Between Spacing and Width</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sectrix Unit Not Responding</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sectrix Unit in Manual Mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not All Sections On</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wrong Hardware</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Section Output Failure</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Master Output Failure</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fill Valve Output Failure</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Low Supply Voltage</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fuse Blown</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
